#include "screen/screen_market.h"

namespace zepa {

char marketLetterOf(int32_t marketCode) {
    switch (marketCode) {
        case 0:
            return 'I';  // any letter but those below: the position file's index market
        case 1:
            return 'T';
        case 2:
            return 'O';
        case 3:
            return 'N';
        case 8:
            return 'K';
        case 9:
            return 'G';
        default:
            return 0;
    }
}

}  // namespace zepa
