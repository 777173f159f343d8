#include "tools/screen/screen_load_refusal.h"

namespace zepa {

std::string screenLoadRefusal(ScreenLoad outcome, const MarketData& md, const std::string& tooFew) {
    switch (outcome) {
        case ScreenLoad::Loaded:
            return {};
        case ScreenLoad::EndBeforeFirstDate:
            return "the installation has no date on or before the end date";
        case ScreenLoad::TooFewDates:
            return tooFew;
        case ScreenLoad::DataError:
            return dataErrorMessage(md.dataError, md.dataDirectory);
        case ScreenLoad::OutOfMemory:
            return "not enough memory for the market's prices";
        case ScreenLoad::Cancelled:  // nothing in the tools cancels
            return "cancelled";
    }
    return {};
}

}  // namespace zepa
