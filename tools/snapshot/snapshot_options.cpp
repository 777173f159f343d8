#include "tools/snapshot/snapshot_options.h"

#include <charconv>

#include "settings/chart_settings.h"

namespace zepa {
namespace {

bool toInt(const std::string& text, int32_t low, int32_t high, int32_t& out) {
    int32_t value = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

}  // namespace

bool parseSnapshotOptions(const std::vector<std::string>& args, SnapshotOptions& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        int32_t value = 0;
        if (a == "--root" && hasValue) {
            out.root = args[++i];
        } else if (a == "--position" && hasValue && toInt(args[++i], 0, 4999, value)) {
            out.position = value;
        } else if (a == "--size" && hasValue) {
            const std::string& size = args[++i];
            size_t x = size.find('x');
            if (x == std::string::npos || !toInt(size.substr(0, x), 1, 16384, out.width) ||
                !toInt(size.substr(x + 1), 1, 16384, out.height)) {
                return false;
            }
        } else if (a == "--weekly") {
            out.weekly = true;
        } else if (a == "--lower-pane" && hasValue && toInt(args[++i], 0, 3, value)) {
            out.lowerPaneMode = value;
        } else if (a == "--scroll-back" && hasValue && toInt(args[++i], 0, INT32_MAX, value)) {
            out.scrollBack = value;
        } else if (a == "--ratio-period" && hasValue &&
                   toInt(args[++i], kRatioPeriodMin, kRatioPeriodMax, value)) {
            out.ratioPeriod = value;
        } else if (a == "--overlay") {
            out.overlay = true;
        } else if (a == "--defaults") {
            out.defaults = true;
        } else if (a == "--layout") {
            out.layout = true;
        } else if (a == "--adjusted") {
            out.adjusted = true;
        } else if (!a.empty() && a[0] != '-' && out.output.empty()) {
            out.output = a;
        } else {
            return false;
        }
    }
    return !out.output.empty();
}

}  // namespace zepa
