#include "import/jquants_pages.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "base/table_text.h"
#include "base/utf8.h"
#include "import/field_values.h"

namespace zepa {
namespace {

using Json = nlohmann::json;

// The rows of a page, or nullptr with the reason.
const Json* dataOf(const Json& page, std::string& problem) {
    if (!page.is_object()) {
        problem = "the answer is not a JSON object";
        return nullptr;
    }
    const auto data = page.find("data");
    if (data == page.end() || !data->is_array()) {
        problem = "the answer has no \"data\" array";
        return nullptr;
    }
    for (const Json& row : *data) {
        if (!row.is_object()) {
            problem = "a \"data\" entry is not an object";
            return nullptr;
        }
    }
    return &*data;
}

// The rows of an answer parsed into `json`, or nullptr with the reason.
const Json* rowsOf(std::string_view body, Json& json, std::string& problem) {
    json = Json::parse(body, nullptr, false);
    if (json.is_discarded()) {
        problem = "the answer is not valid JSON";
        return nullptr;
    }
    return dataOf(json, problem);
}

// Calls `take` on every row of every answer in order until it returns false; false when an
// answer is malformed or `take` refused, with the reason.
template <typename Take>
bool eachRow(const std::vector<std::string>& bodies, std::string& problem, Take take) {
    for (const std::string& body : bodies) {
        Json json;
        const Json* data = rowsOf(body, json, problem);
        if (data == nullptr) {
            return false;
        }
        for (const Json& row : *data) {
            if (!take(row)) {
                return false;
            }
        }
    }
    return true;
}

// A field's text: strings as they are, numbers as written, anything else empty.
std::string textOf(const Json& row, const char* name) {
    const auto it = row.find(name);
    if (it == row.end()) {
        return {};
    }
    if (it->is_string()) {
        return it->get<std::string>();
    }
    if (it->is_number()) {
        return it->dump();
    }
    return {};
}

std::string printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    }
    return out;
}

}  // namespace

bool readJQuantsPage(std::string_view body, int32_t date, JQuantsPage& page, std::string& problem) {
    page = JQuantsPage{};
    Json json;
    const Json* data = rowsOf(body, json, problem);
    if (data == nullptr) {
        return false;
    }
    for (const Json& row : *data) {
        const std::string day = textOf(row, "Date");
        if (date != 0 && parseDate(day) != date) {
            problem = "a row is of \"" + printable(std::string(cutUtf8(day, 40))) +
                      "\", not of the day asked for";
            return false;
        }
    }
    page.rows = data->size();
    if (const auto key = json.find("pagination_key"); key != json.end() && !key->is_null()) {
        if (!key->is_string() || key->get<std::string>().empty()) {
            problem = "the answer's \"pagination_key\" is not a text";
            return false;
        }
        page.paginationKey = key->get<std::string>();
    }
    return true;
}

bool readTradingDays(const std::vector<std::string>& bodies, std::vector<int32_t>& days,
                     std::string& problem) {
    days.clear();
    const bool read = eachRow(bodies, problem, [&](const Json& row) {
        const int32_t day = parseDate(textOf(row, "Date"));
        const std::string division = textOf(row, "HolDiv");
        if (day == 0 || division.empty()) {
            problem = "a calendar entry has no usable Date or HolDiv";
            return false;
        }
        if (division == "1" || division == "2") {
            days.push_back(day);
        }
        return true;
    });
    if (!read) {
        return false;
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return true;
}

bool listingNamesText(const std::vector<std::string>& bodies, std::string& csv,
                      std::string& problem) {
    static constexpr const char* kFields[] = {"Code",  "CoName", "S17",      "S17Nm", "S33",
                                              "S33Nm", "Mkt",    "ScaleCat", "Mrgn"};
    csv =
        "Code,CompanyName,Sector17Code,Sector17CodeName,Sector33Code,Sector33CodeName,"
        "MarketCode,ScaleCategory,MarginCode\n";
    return eachRow(bodies, problem, [&](const Json& row) {
        bool first = true;
        for (const char* field : kFields) {
            csv += first ? "" : ",";
            csv += csvQuoted(printable(textOf(row, field)));
            first = false;
        }
        csv += '\n';
        return true;
    });
}

std::string answerMessage(std::string_view body) {
    const Json json = Json::parse(body, nullptr, false);
    if (!json.is_object()) {
        return {};
    }
    const auto message = json.find("message");
    if (message == json.end() || !message->is_string()) {
        return {};
    }
    return printable(std::string(cutUtf8(message->get<std::string>(), 200)));
}

}  // namespace zepa
