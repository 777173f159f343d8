#include "app/price_update/price_update_settings.h"

#include "import/field_values.h"

namespace zepa {

const std::string_view kNoKeyMessage =
    "J-Quants の API キーが設定されていません。\n"
    "https://jpx-jquants.com/ で利用登録し（無料プランがあります）、ダッシュボードの API キーを"
    "株価更新の「詳細設定」に入力してください。キーはこのユーザーだけが読めるファイルに保存されます"
    "。";

namespace {

constexpr std::string_view kSubkey = "JQUANTS";

}  // namespace

PriceUpdateSettings loadPriceUpdateSettings(ValueStore& store) {
    PriceUpdateSettings s;
    std::string text;
    if (store.readValue(kSubkey, "RATE", text)) {
        int rate = 0;
        for (const char c : text) {
            rate = c >= '0' && c <= '9' && rate <= 10000 ? rate * 10 + (c - '0') : -1;
            if (rate < 0) {
                break;
            }
        }
        if (rate >= 1 && rate <= 10000) {
            s.requestsPerMinute = rate;
        }
    }
    if (store.readValue(kSubkey, "FROM", text)) {
        s.firstFillFrom = parseDate(text);
    }
    return s;
}

bool savePriceUpdateSettings(ValueStore& store, const PriceUpdateSettings& s) {
    return store.writeValue(kSubkey, "RATE", std::to_string(s.requestsPerMinute)) &&
           store.writeValue(kSubkey, "FROM",
                            s.firstFillFrom != 0 ? std::to_string(s.firstFillFrom) : "");
}

int32_t firstFillDay(const PriceUpdateSettings& s, int32_t today) {
    if (s.firstFillFrom != 0) {
        return s.firstFillFrom;
    }
    // Two years back; 29 February falls back to the 28th.
    const int32_t back = today - 20000;
    return back % 10000 == 229 ? back - 1 : back;
}

std::string maskedKey(std::string_view key) {
    std::string dots;
    for (size_t i = 0; i < key.size(); ++i) {
        dots += "\xE2\x97\x8F";  // ●
    }
    return dots;
}

}  // namespace zepa
