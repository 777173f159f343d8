// The position writer: any file, any edit. Every line but the edited one survives byte for
// byte, and the written file reads back, through the reader itself, as the edit says.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/scratch_installation.h"
#include "fuzz/targets.h"
#include "positions/position_file_edit.h"
#include "positions/position_line.h"

namespace zepa::fuzz {
namespace {

PositionLeg fuzzLeg(FuzzInput& in) {
    PositionLeg leg;
    leg.marketLetter[0] = static_cast<char>(in.byte());
    leg.stockCode = static_cast<int32_t>(in.u32() % 120000);
    for (int n = in.pick(10); n > 0; --n) {
        leg.shortName.push_back(static_cast<char>(in.byte()));
    }
    leg.entryDate = static_cast<int32_t>(in.u32() % 1000000);
    leg.quantity = static_cast<int32_t>(in.u32() % 1200000000);
    return leg;
}

// The file's lines with their line ends, LF ending a line.
std::vector<std::string_view> linesOf(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const size_t lf = bytes.find('\n');
        const size_t n = lf == std::string_view::npos ? bytes.size() : lf + 1;
        lines.push_back(bytes.substr(0, n));
        bytes.remove_prefix(n);
    }
    return lines;
}

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

int positionWriterTarget(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    PositionEdit edit;
    edit.kind = static_cast<PositionEditKind>(in.pick(3));
    edit.position = in.pick(8);
    edit.record.buy = fuzzLeg(in);
    edit.record.sell = fuzzLeg(in);
    const std::string_view bytes = in.rest();

    const PositionEditOutcome out = editPositionBytes(bytes, edit);
    if (!out.ok) {
        return 0;
    }
    const std::vector<ScannedPosition> before = scanPositionBytes(bytes);
    std::vector<std::string_view> oldLines = linesOf(bytes);
    std::vector<std::string_view> newLines = linesOf(out.bytes);
    if (edit.kind == PositionEditKind::Add) {
        // One new line; the old last line may have gained a line end.
        check(newLines.size() >= 1 && newLines.size() == oldLines.size() + 1);
        // At the end, or before the line that holds Ctrl+Z.
        const size_t stop = bytes.find('\x1A');
        const size_t at =
            stop == std::string_view::npos
                ? newLines.size() - 1
                : static_cast<size_t>(std::count(
                      bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(stop), '\n'));
        check(newLines[at].starts_with(formatPositionLine(edit.record)));
        newLines.erase(newLines.begin() + static_cast<std::ptrdiff_t>(at));
        for (size_t k = 0; k < oldLines.size(); ++k) {
            check(newLines[k] == oldLines[k] ||
                  (k + 1 == oldLines.size() && newLines[k].starts_with(oldLines[k])));
        }
    } else {
        const size_t edited = before[static_cast<size_t>(edit.position)].line;
        oldLines.erase(oldLines.begin() + static_cast<std::ptrdiff_t>(edited));
        if (edit.kind == PositionEditKind::Change) {
            newLines.erase(newLines.begin() + static_cast<std::ptrdiff_t>(edited));
        }
        check(oldLines == newLines);
    }

    // Through the reader itself.
    const ScratchInstallation& s = scratchInstallation();
    if (!writeWholeFile(s.paths.positionFile, out.bytes)) {
        return 0;
    }
    PositionTable table;
    readPositionFile(s.paths.positionFile, table, nullptr);
    std::vector<PositionRecord> want;
    for (const ScannedPosition& p : before) {
        want.push_back(p.record);
    }
    if (edit.kind == PositionEditKind::Add) {
        want.push_back(recordAsRead(edit.record));
    } else if (edit.kind == PositionEditKind::Change) {
        want[static_cast<size_t>(edit.position)] = recordAsRead(edit.record);
    } else {
        want.erase(want.begin() + edit.position);
    }
    check(table.positionCount == static_cast<int>(want.size()));
    for (size_t k = 0; k < want.size(); ++k) {
        check(samePosition(table.records[k], want[k]));
    }
    return 0;
}

}  // namespace zepa::fuzz
