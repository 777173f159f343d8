#include "import/csv_reader.h"

#include <cstring>

#include "import/field_values.h"

namespace zepa {

bool LineCursor::next(std::string_view& line) {
    if (pos_ >= text_.size()) {
        return false;
    }
    const char* start = text_.data() + pos_;
    const void* nl = std::memchr(start, '\n', text_.size() - pos_);
    const size_t length =
        nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : text_.size() - pos_;
    line = std::string_view(start, length);
    pos_ += length + 1;
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    ++line_;
    return true;
}

size_t splitFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields,
                   std::string& scratch) {
    fields.clear();
    scratch.clear();
    // Unquoted text never grows, so views into scratch stay valid while it fills.
    scratch.reserve(line.size());
    size_t pos = 0;
    while (true) {
        size_t start = pos;
        while (start < line.size() && line[start] == ' ') {
            ++start;
        }
        if (start < line.size() && line[start] == '"') {
            const size_t begin = scratch.size();
            size_t i = start + 1;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        scratch += '"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                scratch += line[i++];
            }
            if (!closed) {
                return start + 1;
            }
            fields.emplace_back(scratch.data() + begin, scratch.size() - begin);
            // Blanks may follow the closing quote; anything else belongs to the field's end.
            while (i < line.size() && line[i] != delimiter) {
                ++i;
            }
            if (i >= line.size()) {
                return 0;
            }
            pos = i + 1;
            continue;
        }
        // Fields are short: a plain scan beats a library call per field.
        size_t end = pos;
        while (end < line.size() && line[end] != delimiter) {
            ++end;
        }
        if (end == line.size()) {
            fields.push_back(line.substr(pos));
            return 0;
        }
        fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
}

HeaderResult findHeader(LineCursor& lines, std::initializer_list<Column> required,
                        CsvHeader& header, std::string& duplicate) {
    std::vector<std::string_view> fields;
    std::string scratch;
    std::string_view line;
    while (lines.next(line)) {
        for (char delimiter : {'\t', ','}) {
            if (line.find(delimiter) == std::string_view::npos && delimiter == '\t') {
                continue;
            }
            if (splitFields(line, delimiter, fields, scratch) != 0) {
                continue;
            }
            CsvHeader h;
            h.index.fill(-1);
            h.line = lines.lineNumber();
            h.delimiter = delimiter;
            h.fieldCount = fields.size();
            std::string twice;
            for (size_t i = 0; i < fields.size(); ++i) {
                const auto c = columnOfHeader(fields[i]);
                if (!c) {
                    continue;
                }
                const size_t k = static_cast<size_t>(*c);
                if (h.index[k] != -1 && twice.empty()) {
                    twice = std::string(trimField(fields[i]));
                }
                h.index[k] = static_cast<int>(i);
                h.names[k] = std::string(trimField(fields[i]));
            }
            bool complete = true;
            for (Column c : required) {
                complete = complete && h.index[static_cast<size_t>(c)] != -1;
            }
            if (!complete) {
                continue;
            }
            for (std::string_view f : fields) {
                h.cells.emplace_back(trimField(f));
            }
            header = std::move(h);
            if (!twice.empty()) {
                duplicate = twice;
                return HeaderResult::Duplicate;
            }
            return HeaderResult::Found;
        }
    }
    return HeaderResult::Missing;
}

namespace {

// The code a title line above the header starts with ("7203 東証プライム トヨタ自動車"): the
// first line that is not blank, when it starts with four or five letters and digits, the first
// a digit, followed by a blank, a separator or nothing.
std::string codeOfTitleLines(std::string_view text, uint32_t headerLine) {
    LineCursor lines(text);
    std::string_view line;
    while (lines.next(line) && lines.lineNumber() < headerLine) {
        line = trimField(line);
        if (line.empty()) {
            continue;
        }
        size_t end = 0;
        while (end < line.size() &&
               ((line[end] >= '0' && line[end] <= '9') || (line[end] >= 'A' && line[end] <= 'Z'))) {
            ++end;
        }
        const bool ended = end == line.size() || line[end] == ' ' || line[end] == '\t' ||
                           line[end] == ',' || line.substr(end).starts_with("\xE3\x80\x80");
        if (end >= 4 && end <= 5 && line[0] >= '0' && line[0] <= '9' && ended) {
            return std::string(line.substr(0, end));
        }
        break;
    }
    return {};
}

}  // namespace

void readCsvPrices(std::string_view text, SourceFile& file, RowCollector& rows) {
    LineCursor lines(text);
    CsvHeader header;
    std::string duplicate;
    const HeaderResult found =
        findHeader(lines, {Column::Date, Column::Open, Column::High, Column::Low, Column::Close},
                   header, duplicate);
    if (found == HeaderResult::Missing) {
        rows.fileError(file, 0,
                       "no header line naming the date, open, high, low and close columns "
                       "(Date/日付, Open/始値, High/高値, Low/安値, Close/終値)");
        return;
    }
    if (found == HeaderResult::Duplicate) {
        rows.fileError(file, header.line,
                       "two header columns name the same value (" + duplicate + ")");
        return;
    }
    const bool hasCode = header.index[static_cast<size_t>(Column::Code)] != -1;
    if (!hasCode && !file.fileCode && file.fileCodeText.empty()) {
        file.fileCodeText = codeOfTitleLines(text, header.line);
        int32_t code = 0;
        if (parseStockCode(file.fileCodeText, code) == CodeResult::Ok) {
            file.fileCode = code;
        }
    }
    if (!hasCode && !file.fileCode && file.fileCodeText.empty()) {
        rows.fileError(file, 0,
                       "no code column, no --code, and neither the file name nor a title line "
                       "starts with the stock code");
        return;
    }
    if (header.index[static_cast<size_t>(Column::Volume)] == -1) {
        rows.warning(file, header.line, "no volume column: volumes are stored as 0");
    }
    file.headerNames = header.names;

    std::vector<std::string_view> fields;
    std::string scratch;
    std::string_view line;
    RowFields row;
    for (size_t c = 0; c < kColumnCount; ++c) {
        row.present[c] = header.index[c] != -1;
    }
    while (lines.next(line)) {
        bool blank = true;
        for (size_t i = 0; blank && i < line.size(); ++i) {
            blank = line[i] == ' ' || line[i] == '\t' || line[i] == ',';
        }
        if (blank) {
            continue;  // blank, or only separators
        }
        const size_t badQuote = splitFields(line, header.delimiter, fields, scratch);
        if (badQuote != 0) {
            rows.rowError(
                file, lines.lineNumber(),
                "a quote opened at column " + std::to_string(badQuote) + " is not closed");
            continue;
        }
        if (fields.size() != header.fieldCount) {
            bool extraBlank = fields.size() > header.fieldCount;
            for (size_t i = header.fieldCount; extraBlank && i < fields.size(); ++i) {
                extraBlank = trimField(fields[i]).empty();
            }
            if (!extraBlank) {
                rows.rowError(file, lines.lineNumber(),
                              "the row has " + std::to_string(fields.size()) +
                                  " fields, the header " + std::to_string(header.fieldCount) +
                                  (fields.size() > header.fieldCount
                                       ? " (a number with an unquoted thousands separator?)"
                                       : ""));
                continue;
            }
        }
        for (size_t c = 0; c < kColumnCount; ++c) {
            row.value[c] = header.index[c] != -1 ? fields[static_cast<size_t>(header.index[c])]
                                                 : std::string_view();
        }
        rows.addRow(file, lines.lineNumber(), row);
    }
}

}  // namespace zepa
