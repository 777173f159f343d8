// Turns the field texts of one row, from either reader, into a checked price row, and keeps
// the rows, the names, the counts and the messages of the run.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "import/header_aliases.h"
#include "import/import_types.h"

namespace zepa {

// One input file as the readers see it.
struct SourceFile {
    std::string displayName;  // the path as given, for messages
    uint32_t index = 0;
    // The code of a file without a code column (from --code or its name); codeText is what it
    // was read from, kept for the warning when it is not a usable code.
    std::optional<int32_t> fileCode;
    std::string fileCodeText;
    std::array<std::string, kColumnCount> headerNames;  // as the file spells them
};

// The texts of one row: present[c] when the file has column c.
struct RowFields {
    std::array<std::string_view, kColumnCount> value{};
    std::array<bool, kColumnCount> present{};
};

class RowCollector {
  public:
    RowCollector(ImportReport& report, bool skipBadRows) : report_(report), skip_(skipBadRows) {}

    void addRow(const SourceFile& file, uint32_t line, const RowFields& fields);

    // A fault of the row at line (or of the file, line 0): an error, or with --skip-bad-rows a
    // warning and a skipped row.
    void rowError(const SourceFile& file, uint32_t line, const std::string& what);
    // A fault of the whole file: always an error.
    void fileError(const SourceFile& file, uint32_t line, const std::string& what);
    void warning(const SourceFile& file, uint32_t line, const std::string& what);

    std::vector<PriceRow>& rows() { return rows_; }
    // Room for the rows that `bytes` of input can hold at most, taken before reading: the
    // memory is only touched as rows arrive, and the vector never moves.
    void expectInputBytes(uintmax_t bytes);
    // CP932 names by code, first given wins.
    const std::map<int32_t, std::string>& names() const { return names_; }
    std::map<int, RowCounts>& yearCounts() { return yearCounts_; }

  private:
    void skipCode(const SourceFile& file, uint32_t line, std::string_view codeText, int32_t date);
    std::string columnName(const SourceFile& file, Column c) const;

    ImportReport& report_;
    bool skip_;
    std::vector<PriceRow> rows_;
    std::map<int32_t, std::string> names_;
    std::map<int, RowCounts> yearCounts_;
    std::set<std::string> warnedCodes_;
    int lastYear_ = 0;
    RowCounts* lastCounts_ = nullptr;
};

// "FILE:LINE: what", or "FILE: what" for line 0.
std::string locatedMessage(const std::string& file, uint32_t line, const std::string& what);

}  // namespace zepa
