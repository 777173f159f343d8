#include "import/json_reader.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace zepa {
namespace {

using Json = nlohmann::json;

// The line of every '{' outside strings, in order: the n-th object the parser reports opened
// on the n-th of these lines.
std::vector<uint32_t> objectLines(std::string_view text) {
    std::vector<uint32_t> lines;
    uint32_t line = 1;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
        } else if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{') {
            lines.push_back(line);
        }
    }
    return lines;
}

uint32_t lineAt(std::string_view text, size_t position) {
    uint32_t line = 1;
    for (size_t i = 0; i < position && i < text.size(); ++i) {
        line += text[i] == '\n' ? 1 : 0;
    }
    return line;
}

class QuoteHandler : public nlohmann::json_sax<Json> {
  public:
    QuoteHandler(std::string_view text, SourceFile& file, RowCollector& rows)
        : text_(text), lines_(objectLines(text)), file_(file), rows_(rows) {}

    bool foundRows() const { return rowsDepth_ != 0; }
    bool stoppedForCode() const { return noCode_; }

    bool null() override { return setValue("", false); }
    bool boolean(bool v) override { return setValue(v ? "true" : "false", true); }
    bool number_integer(number_integer_t v) override { return setNumber(v); }
    bool number_unsigned(number_unsigned_t v) override { return setNumber(v); }
    bool number_float(number_float_t, const string_t& s) override { return setValue(s, true); }
    bool string(string_t& v) override { return setValue(v, true); }
    bool binary(binary_t&) override { return true; }

    bool start_object(std::size_t) override {
        const uint32_t line = objectIndex_ < lines_.size() ? lines_[objectIndex_] : 0;
        ++objectIndex_;
        ++depth_;
        if (rowsDepth_ != 0 && depth_ == rowsDepth_ + 1) {
            inRow_ = true;
            rowLine_ = line;
            for (size_t c = 0; c < kColumnCount; ++c) {
                values_[c].clear();
                fields_.present[c] = false;
            }
        }
        column_ = -1;
        return true;
    }
    bool key(string_t& k) override {
        if (depth_ == 1) {
            topKey_ = k;
        }
        column_ = -1;
        if (inRow_ && depth_ == rowsDepth_ + 1) {
            if (const auto c = columnOfHeader(k)) {
                column_ = static_cast<int>(*c);
                if (file_.headerNames[static_cast<size_t>(column_)].empty()) {
                    file_.headerNames[static_cast<size_t>(column_)] = k;
                }
            }
        }
        return true;
    }
    bool end_object() override {
        if (inRow_ && depth_ == rowsDepth_ + 1) {
            inRow_ = false;
            if (!fields_.present[static_cast<size_t>(Column::Code)] && !file_.fileCode &&
                file_.fileCodeText.empty()) {
                rows_.fileError(file_, rowLine_,
                                "no Code field, no --code, and the file name does not start with "
                                "the stock code");
                noCode_ = true;
                return false;
            }
            for (size_t c = 0; c < kColumnCount; ++c) {
                fields_.value[c] = values_[c];
            }
            rows_.addRow(file_, rowLine_, fields_);
        }
        --depth_;
        column_ = -1;
        return true;
    }
    bool start_array(std::size_t) override {
        ++depth_;
        if (rowsDepth_ == 0 &&
            (depth_ == 1 || (depth_ == 2 && (topKey_ == "daily_quotes" || topKey_ == "data")))) {
            rowsDepth_ = depth_;
        }
        column_ = -1;
        return true;
    }
    bool end_array() override {
        --depth_;
        column_ = -1;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& e) override {
        std::string what = e.what();
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." -> the reason.
        const size_t colon = what.find(": ");
        rows_.fileError(
            file_, lineAt(text_, position),
            "not valid JSON: " + (colon == std::string::npos ? what : what.substr(colon + 2)));
        return false;
    }

  private:
    template <class T>
    bool setNumber(T v) {
        char buffer[32];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
        return setValue(std::string(buffer, ec == std::errc() ? end : buffer), true);
    }
    bool setValue(const std::string& v, bool given) {
        if (inRow_ && depth_ == rowsDepth_ + 1 && column_ >= 0) {
            values_[static_cast<size_t>(column_)] = given ? v : std::string();
            fields_.present[static_cast<size_t>(column_)] = true;
        }
        column_ = -1;
        return true;
    }

    std::string_view text_;
    std::vector<uint32_t> lines_;
    SourceFile& file_;
    RowCollector& rows_;
    size_t objectIndex_ = 0;
    int depth_ = 0;
    int rowsDepth_ = 0;  // depth of the array of rows, 0 until it opens
    bool inRow_ = false;
    bool noCode_ = false;
    uint32_t rowLine_ = 0;
    int column_ = -1;
    std::string topKey_;
    std::array<std::string, kColumnCount> values_;
    RowFields fields_;
};

}  // namespace

bool looksLikeJson(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && (text[first] == '{' || text[first] == '[');
}

void readJsonPrices(std::string_view text, SourceFile& file, RowCollector& rows) {
    QuoteHandler handler(text, file, rows);
    const bool ok = Json::sax_parse(text.begin(), text.end(), &handler);
    if (ok && !handler.foundRows()) {
        rows.fileError(file, 0,
                       "no array of quotes (\"daily_quotes\" or \"data\", or an array at the top)");
    }
}

}  // namespace zepa
