#include "positions/position_file_edit.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/durable_file.h"
#include "base/file_bytes.h"
#include "marketdata/text_file.h"
#include "positions/position_line.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

struct LineSpan {
    size_t start = 0;
    size_t contentEnd = 0;  // before CR LF or LF
    size_t end = 0;         // after the line end
};

std::vector<LineSpan> physicalLines(std::string_view bytes) {
    std::vector<LineSpan> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t lf = bytes.find('\n', start);
        LineSpan line;
        line.start = start;
        if (lf == std::string_view::npos) {
            line.contentEnd = line.end = bytes.size();
        } else {
            line.end = lf + 1;
            line.contentEnd = lf > start && bytes[lf - 1] == '\r' ? lf - 1 : lf;
        }
        lines.push_back(line);
        start = line.end;
    }
    return lines;
}

// The line end a new line gets: CR LF when the file has one (or nothing to go by), else LF.
std::string_view lineEndOf(std::string_view bytes) {
    if (bytes.find("\r\n") != std::string_view::npos ||
        bytes.find('\n') == std::string_view::npos) {
        return "\r\n";
    }
    return "\n";
}

bool sameTables(const std::vector<ScannedPosition>& got, const std::vector<PositionRecord>& want) {
    if (got.size() != want.size()) {
        return false;
    }
    for (size_t k = 0; k < got.size(); ++k) {
        if (!samePosition(got[k].record, want[k])) {
            return false;
        }
    }
    return true;
}

PositionEditOutcome refused(std::string message) {
    PositionEditOutcome outcome;
    outcome.message = std::move(message);
    return outcome;
}

bool statFile(const std::string& path, uint64_t& size, int64_t& time) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return false;
    }
    size = fs::file_size(path, ec);
    if (ec) {
        return false;
    }
    const auto written = fs::last_write_time(path, ec);
    if (ec) {
        return false;
    }
    time = static_cast<int64_t>(written.time_since_epoch().count());
    return true;
}

}  // namespace

bool takePositionSnapshot(const std::string& path, PositionFileSnapshot& snapshot) {
    snapshot = PositionFileSnapshot{};
    snapshot.path = path;
    if (!statFile(path, snapshot.size, snapshot.time) ||
        readFileBytes(path, snapshot.bytes, kMaxPositionFileBytes) != FileRead::Read ||
        snapshot.bytes.size() != snapshot.size) {
        snapshot.bytes.clear();
        return false;
    }
    snapshot.exists = true;
    return true;
}

bool positionFileUnchanged(const PositionFileSnapshot& snapshot) {
    PositionFileSnapshot now;
    if (!takePositionSnapshot(snapshot.path, now)) {
        return false;
    }
    return snapshot.exists && now.size == snapshot.size && now.time == snapshot.time &&
           now.bytes == snapshot.bytes;
}

std::vector<ScannedPosition> scanPositionBytes(std::string_view bytes) {
    std::vector<ScannedPosition> positions;
    size_t at = 0;
    size_t line = 0;
    std::string piece;
    bool ended = false;
    while (!ended && positions.size() < static_cast<size_t>(kMaxPositions)) {
        // One read of the text file: up to 199 characters, the line feed kept when it fits.
        piece.clear();
        const size_t pieceLine = line;
        while (piece.size() < kLineReadLimit) {
            if (at >= bytes.size() || bytes[at] == '\x1A') {
                ended = true;
                break;
            }
            char c = bytes[at++];
            if (c == '\r' && at < bytes.size() && bytes[at] == '\n') {
                c = bytes[at++];
            }
            piece.push_back(c);
            if (c == '\n') {
                ++line;
                break;
            }
        }
        if (piece.empty()) {
            break;
        }
        std::string_view text(piece);
        text = text.substr(0, text.find('\0'));
        if (!text.empty() && text.back() == '\n') {
            text.remove_suffix(1);
        }
        ScannedPosition scanned;
        if (parsePositionLine(text, scanned.record) == PositionLineKind::Position) {
            scanned.line = pieceLine;
            positions.push_back(scanned);
        }
    }
    return positions;
}

PositionEditOutcome editPositionBytes(std::string_view bytes, const PositionEdit& edit) {
    const std::vector<ScannedPosition> before = scanPositionBytes(bytes);
    std::vector<PositionRecord> want;
    for (const ScannedPosition& p : before) {
        want.push_back(p.record);
    }
    const int count = static_cast<int>(before.size());
    if (edit.kind != PositionEditKind::Remove &&
        (!legFitsLine(edit.record.buy) || !legFitsLine(edit.record.sell))) {
        return refused("建玉の内容が建玉ファイルの桁に収まりません");
    }
    const std::vector<LineSpan> lines = physicalLines(bytes);
    PositionEditOutcome outcome;
    std::string& out = outcome.bytes;
    if (edit.kind == PositionEditKind::Add) {
        if (count >= kMaxPositions) {
            return refused("建玉は " + std::to_string(kMaxPositions) + " 件までです");
        }
        const std::string_view eol = lineEndOf(bytes);
        const std::string line = formatPositionLine(edit.record) + std::string(eol);
        const size_t stop = bytes.find('\x1A');
        if (stop != std::string_view::npos) {
            // Text after Ctrl+Z is never read: the new line goes before the line holding it.
            const size_t lineStart =
                bytes.rfind('\n', stop) == std::string_view::npos ? 0 : bytes.rfind('\n', stop) + 1;
            out.append(bytes.substr(0, lineStart)).append(line).append(bytes.substr(lineStart));
        } else {
            out.append(bytes);
            if (!out.empty() && out.back() != '\n') {
                out.append(eol);
            }
            out.append(line);
        }
        want.push_back(recordAsRead(edit.record));
        outcome.position = count;
    } else {
        if (edit.position < 0 || edit.position >= count) {
            return refused(noSuchPositionMessage(edit.position, before.size()));
        }
        const size_t lineIndex = before[static_cast<size_t>(edit.position)].line;
        const LineSpan& span = lines[lineIndex];
        out.append(bytes.substr(0, span.start));
        if (edit.kind == PositionEditKind::Change) {
            out.append(formatPositionLine(edit.record));
            out.append(bytes.substr(span.contentEnd));
            want[static_cast<size_t>(edit.position)] = recordAsRead(edit.record);
            outcome.position = edit.position;
        } else {
            out.append(bytes.substr(span.end));
            want.erase(want.begin() + edit.position);
        }
    }
    if (!sameTables(scanPositionBytes(out), want)) {
        return refused(
            "この建玉の行は書き換えられません（1行に複数の建玉が読まれる長い行です）。"
            "テキストエディタで直してください");
    }
    outcome.ok = true;
    return outcome;
}

std::string noSuchPositionMessage(int position, size_t count) {
    return "建玉 " + std::to_string(position) + " はありません（建玉は " + std::to_string(count) +
           " 件です）";
}

std::string positionFileChangedMessage() {
    return "建玉ファイルは読み込んだ後にほかのプログラムで変更されています。"
           "何も書き込みませんでした。読み込み直してから、もう一度操作してください";
}

PositionEditOutcome writePositionEdit(const PositionFileSnapshot& snapshot,
                                      const PositionEdit& edit) {
    if (!snapshot.exists) {
        return refused(positionFileMissingMessage(snapshot.path));
    }
    PositionEditOutcome outcome = editPositionBytes(snapshot.bytes, edit);
    if (!outcome.ok) {
        return outcome;
    }
    if (!positionFileUnchanged(snapshot)) {
        return refused(positionFileChangedMessage());
    }
    if (!writeFileDurably(snapshot.path, outcome.bytes)) {
        return refused(snapshot.path + " に書き込めませんでした");
    }
    return outcome;
}

}  // namespace zepa
