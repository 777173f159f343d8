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
    if (store.readValue(kSubkey, "API", text) && usableApiBase(text)) {
        s.apiBase = text;
    }
    return s;
}

bool usableApiBase(std::string_view text) {
    constexpr std::string_view kSecure = "https://";
    if (text.substr(0, kSecure.size()) == kSecure) {
        return text.size() > kSecure.size();
    }
    // The host must end where the name does, and only a port may follow it before the path:
    // "http://localhost.example.com" is elsewhere, and in "http://127.0.0.1:80@host" the local
    // name is a user name for another host.
    for (const std::string_view local : {"http://127.0.0.1", "http://localhost", "http://[::1]"}) {
        if (text.substr(0, local.size()) != local) {
            continue;
        }
        std::string_view rest = text.substr(local.size());
        if (!rest.empty() && rest.front() == ':') {
            rest.remove_prefix(1);
            size_t digits = 0;
            while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
                ++digits;
            }
            if (digits == 0) {
                return false;
            }
            rest.remove_prefix(digits);
        }
        return rest.empty() || rest.front() == '/';
    }
    return false;
}

bool readPriceUpdateForm(std::string_view rateText, std::string_view fromText,
                         PriceUpdateSettings& settings, std::string& problem) {
    const auto trimmed = [](std::string_view t) {
        while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) {
            t.remove_prefix(1);
        }
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) {
            t.remove_suffix(1);
        }
        return t;
    };
    rateText = trimmed(rateText);
    int rate = rateText.empty() ? -1 : 0;
    for (const char c : rateText) {
        rate = c >= '0' && c <= '9' && rate >= 0 && rate <= 10000 ? rate * 10 + (c - '0') : -1;
    }
    if (rate < 1 || rate > 10000) {
        problem = "ペースは 1 から 10000 までの回数（1 分あたり）で入力してください。";
        return false;
    }
    fromText = trimmed(fromText);
    const int32_t from = fromText.empty() ? 0 : parseDate(fromText);
    if (!fromText.empty() && from == 0) {
        problem =
            "初回の取得開始日は 2024-01-04 または 20240104 の形で入力してください（空欄は 2 "
            "年前から）。";
        return false;
    }
    settings.requestsPerMinute = rate;
    settings.firstFillFrom = from;
    return true;
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

std::string storedKeyHint(bool stored, std::string_view key) {
    return stored ? "保存済み: " + maskedKey(key) : "J-Quants のダッシュボードの API キー";
}

}  // namespace zepa
