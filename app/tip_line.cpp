// The whole chart with a tip line from the tip file in the status bar after it.
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>

#include "app/frame_handlers.h"
#include "app/startup.h"
#include "chart/paint.h"
#include "marketdata/text_file.h"

namespace zepa {

namespace {

bool isTipLine(const std::string& line) {
    return line.empty() || line[0] != '#';
}

// A small generator of our own, so that the pick depends on the second alone and is the
// same on every platform (splitmix64's output function).
uint64_t randomFromSeconds(int64_t seconds) {
    uint64_t z = static_cast<uint64_t>(seconds) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

int pickTipLine(const std::string& tipFile, int64_t seconds, std::string& statusText) {
    statusText = " ";
    // A device or a pipe of that name would never end (or never open): not a tip file.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(tipFile, ec)) {
        return -1;
    }
    int count = 0;
    {
        TextFile file;
        if (!file.open(tipFile)) {
            return -1;
        }
        std::string line;
        while (count < std::numeric_limits<int>::max() && file.readLine(line)) {
            if (isTipLine(line)) {
                ++count;
            }
        }
    }
    if (count <= 0) {
        return count;
    }
    const uint64_t pick = randomFromSeconds(seconds) % static_cast<uint64_t>(count);
    TextFile file;
    if (!file.open(tipFile)) {
        return count;
    }
    std::string line;
    uint64_t index = 0;
    while (file.readLine(line)) {
        if (!isTipLine(line)) {
            continue;
        }
        if (index++ == pick) {
            if (!line.empty() && line.back() == '\n') {
                line.pop_back();
            }
            statusText += line;
            break;
        }
    }
    return count;
}

void paintChartWithTip(AppContext& a, Shell& shell, DrawingSurface& surface) {
    ChartContext c = chartContext(a);
    // The chart reads both bar arrays: without them, the position's name on an empty chart.
    if (!a.series.buyBarsAllocated || !a.series.sellBarsAllocated) {
        paintEmptyChart(surface, c);
        return;
    }
    paintChart(surface, c);
    // The whole picture is new, so a cursor line drawn before is gone; the next mouse move
    // must draw it without first erasing it.
    if (a.view.cursorState > 1) {
        a.view.cursorState = 1;
    }
    const int64_t now =
        a.clockSeconds != nullptr ? a.clockSeconds() : static_cast<int64_t>(std::time(nullptr));
    std::string text;
    if (pickTipLine(a.paths.tipFile, now, text) > 0) {
        a.statusTip = text;
        shell.setStatusText(text);
    }
}

}  // namespace zepa
