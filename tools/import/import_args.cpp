#include "tools/import/import_args.h"

#include "import/field_values.h"

namespace zepa {

const char* const kImportUsage =
    "usage: zepa_import [--root DIR] [--market L] [--names FILE] [--code CODE]\n"
    "                   [--split CODE:DATE:RATIO]... [--skip-bad-rows] [--dry-run] [--json]\n"
    "                   FILE...\n"
    "Imports daily prices (CSV, tab-separated or J-Quants JSON) into DIR/ZEPAWIN/DATA/DBW.YYYY,\n"
    "one file per calendar year, merging with what is there. DIR is the folder that holds\n"
    "ZEPAWIN/ (default: the working directory).\n"
    "  --market L        market letter of the stocks (default T)\n"
    "  --names FILE      a CSV with code and name columns for the stock names; its listing\n"
    "                    columns (industries, market, margin), when it has them, go to\n"
    "                    ZEPAWIN/LISTING.CSV, and FILE... may then be left out\n"
    "  --code CODE       the stock of files without a code column (default: from the file name)\n"
    "  --split C:D:R     a 1:R split of stock C on date D (7203:2021-09-29:5)\n"
    "  --skip-bad-rows   warn about bad rows and go on without them\n"
    "  --dry-run         check and report, write nothing\n"
    "  --json            print the summary as JSON\n"
    "Exit status: 0 imported, 1 bad input or nothing could be written, 2 usage.\n";

namespace {

bool parseSplit(const std::string& text, SplitOption& split, std::string& problem) {
    const size_t a = text.find(':');
    const size_t b = a == std::string::npos ? a : text.find(':', a + 1);
    if (b == std::string::npos) {
        problem = "--split " + text + ": give CODE:DATE:RATIO, such as 7203:2021-09-29:5";
        return false;
    }
    double ratio = 0;
    split.text = text;
    split.date = parseDate(std::string_view(text).substr(a + 1, b - a - 1));
    if (parseStockCode(std::string_view(text).substr(0, a), split.code) != CodeResult::Ok) {
        problem = "--split " + text + ": the code is not a four-digit stock code";
    } else if (split.date == 0) {
        problem = "--split " + text + ": the date is not a date";
    } else if (!parsePositiveDecimal(std::string_view(text).substr(b + 1), ratio)) {
        problem = "--split " + text + ": the ratio is not a positive number";
    } else {
        const int32_t adjustment = adjustmentOfFactor(1.0 / ratio);
        if (adjustment <= 0) {
            problem = "--split " + text + ": a ratio of " + text.substr(b + 1) +
                      " cannot be stored (1:0.0016 to 1:200, not 1)";
        } else {
            split.adjustment = static_cast<uint16_t>(adjustment);
            return true;
        }
    }
    return false;
}

}  // namespace

ArgsResult parseImportArgs(const std::vector<std::string>& args, ImportOptions& o,
                           std::string& problem) {
    o = ImportOptions{};
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            o.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            return ArgsResult::Help;
        }
        if (arg == "--skip-bad-rows") {
            o.skipBadRows = true;
            continue;
        }
        if (arg == "--dry-run") {
            o.dryRun = true;
            continue;
        }
        if (arg == "--json") {
            o.json = true;
            continue;
        }
        const bool takesValue = arg == "--root" || arg == "--market" || arg == "--names" ||
                                arg == "--code" || arg == "--split";
        if (!takesValue) {
            problem = "unknown option " + arg;
            return ArgsResult::Usage;
        }
        if (i + 1 >= args.size()) {
            problem = arg + " needs a value";
            return ArgsResult::Usage;
        }
        const std::string& value = args[++i];
        if (arg == "--root") {
            o.root = value;
        } else if (arg == "--names") {
            o.namesFile = value;
        } else if (arg == "--market") {
            const bool letter = value.size() == 1 && ((value[0] >= 'A' && value[0] <= 'Z') ||
                                                      (value[0] >= 'a' && value[0] <= 'z'));
            if (!letter) {
                problem = "--market " + value + ": give one letter (T, O, N, K, G; others: index)";
                return ArgsResult::Usage;
            }
            o.market = value[0];
        } else if (arg == "--code") {
            int32_t code = 0;
            if (parseStockCode(value, code) != CodeResult::Ok) {
                problem = "--code " + value +
                          ": a code is four digits, or five ending in 0 (72030 is 7203)";
                return ArgsResult::Usage;
            }
            o.code = code;
        } else {
            SplitOption split;
            if (!parseSplit(value, split, problem)) {
                return ArgsResult::Usage;
            }
            o.splits.push_back(split);
        }
    }
    if (o.files.empty() && o.namesFile.empty()) {
        problem = "no file to import";
        return ArgsResult::Usage;
    }
    return ArgsResult::Run;
}

}  // namespace zepa
