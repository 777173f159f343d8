#include <charconv>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/user_value_store.h"
#include "settings/chart_settings.h"
#include "settings/color_table.h"
#include "settings/settings_persistence.h"
#include "tools/common/json_writer.h"
#include "tools/dump/dump_commands.h"

namespace zepa {
namespace {

// The shortest text that reads back as the same float ("3.3", not "3.29999995").
std::string floatText(float value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// One `name value` line per field, or one JSON object.
class FieldPrinter {
  public:
    explicit FieldPrinter(bool json) : json_(json) {
        if (json_) {
            writer_.beginObject();
        }
    }

    void field(const char* name, int32_t value) {
        if (json_) {
            writer_.key(name).value(value);
        } else {
            line(name, std::to_string(value));
        }
    }

    void field(const char* name, float value) {
        const std::string shortest = floatText(value);
        if (json_) {
            double number = 0;
            std::from_chars(shortest.data(), shortest.data() + shortest.size(), number);
            writer_.key(name).value(number);
        } else {
            line(name, shortest);
        }
    }

    // JSON arrays start a new line every rowLength values (0: never).
    void field(const char* name, std::span<const int64_t> values, size_t rowLength = 0) {
        if (json_) {
            writer_.key(name).beginArray();
            for (size_t i = 0; i < values.size(); ++i) {
                if (rowLength > 0 && i % rowLength == 0) {
                    writer_.newline();
                }
                writer_.value(values[i]);
            }
            writer_.endArray();
        } else {
            std::string joined;
            for (int64_t v : values) {
                joined += joined.empty() ? "" : " ";
                joined += std::to_string(v);
            }
            line(name, joined);
        }
    }

    std::string finish() {
        if (json_) {
            writer_.endObject();
            return writer_.text() + "\n";
        }
        return text_;
    }

  private:
    void line(const char* name, const std::string& value) {
        text_ += name;
        text_ += ' ';
        text_ += value;
        text_ += '\n';
    }

    bool json_;
    JsonWriter writer_;
    std::string text_;
};

}  // namespace

int dumpSettings(const DumpOptions& options) {
    if (!options.args.empty()) {
        return printError(kExitUsage, "usage: zepa_dump [--json] settings");
    }
    // The start-up values, then the user's store, as the viewer reads them; nothing is
    // written back.
    ChartSettings s;
    ColorTable colors;
    resetColorTable(colors);
    resetSpreadColors(colors);
    loadChartSettings(*openUserValueStore(), s, colors);

    FieldPrinter out(options.json);
    out.field("lowerPaneMode", s.lowerPaneMode);
    out.field("buyTomeashi", s.buyTomeashi);
    out.field("sellTomeashi", s.sellTomeashi);
    out.field("buyCandles", s.buyCandles);
    out.field("sellCandles", s.sellCandles);
    out.field("spreadBase", s.spreadBase);
    out.field("pitch", s.pitch);
    out.field("buyAverage", s.buyAverage);
    out.field("sellAverage", s.sellAverage);
    out.field("spreadSource", s.spreadSource);
    out.field("buyAveragePeriod", s.buyAveragePeriod);
    out.field("sellAveragePeriod", s.sellAveragePeriod);
    out.field("pitchMode", s.pitchMode);
    out.field("fillFallingBodies", s.fillFallingBodies);
    out.field("fillRisingBodies", s.fillRisingBodies);
    out.field("stretchBarCount", s.stretchBarCount);
    out.field("autoStepInterval", s.autoStepInterval);
    out.field("pitchTable", std::vector<int64_t>(s.pitchTable.begin(), s.pitchTable.end()));
    out.field("pitchIndex", s.pitchIndex);
    out.field("printScale", s.printScale);
    out.field("splitAdjustedDisplay", s.splitAdjustedDisplay);
    out.field("ratioChart", s.ratioChart);
    out.field("ratioPeriod", s.ratioPeriod);
    out.field("overlaySellAtEntry", s.overlaySellAtEntry);
    // As the 32-bit numbers the store holds them.
    std::vector<int64_t> colorValues;
    for (ColorRef color : colors.colors) {
        colorValues.push_back(static_cast<int32_t>(color));
    }
    out.field("colorTable", colorValues, kColorRowLength);
    return printOut(out.finish());
}

}  // namespace zepa
