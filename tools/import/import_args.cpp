#include "tools/import/import_args.h"

#include "import/field_values.h"

namespace zepa {

const char* const kImportUsage =
    "usage: zepa_import [--root DIR] [--market L] [--names FILE] [--code CODE]\n"
    "                   [--split CODE:DATE:RATIO]... [--skip-bad-rows] [--dry-run] [--json]\n"
    "                   FILE...\n"
    "       zepa_import --jquants [--from DATE] [--to DATE] [--key-file FILE] [--rate N]\n"
    "                   [--api-base URL] [--root DIR] [--market L] [--skip-bad-rows]\n"
    "                   [--dry-run] [--json]\n"
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
    "  --jquants         fetch the daily prices of every listed stock from the J-Quants API for\n"
    "                    each trading day after the newest stored date up to today in Tokyo,\n"
    "                    and the listing; the key from --key-file, JQUANTS_API_KEY or the\n"
    "                    viewer's per-user key file\n"
    "  --from DATE       the first day of a first fill (later days stored: continues after them)\n"
    "  --to DATE         the last day (default: today in Tokyo)\n"
    "  --key-file FILE   a file holding the API key, readable by its owner only\n"
    "  --rate N          requests a minute (default 5, the free plan's limit)\n"
    "  --api-base URL    the service's address (default https://api.jquants.com/v2)\n"
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
    JQuantsArgs jquants;
    const ArgsResult result = parseImportArgs(args, o, jquants, problem);
    if (result == ArgsResult::Run && jquants.enabled) {
        problem = "--jquants is not taken here";
        return ArgsResult::Usage;
    }
    return result;
}

ArgsResult parseImportArgs(const std::vector<std::string>& args, ImportOptions& o, JQuantsArgs& j,
                           std::string& problem) {
    o = ImportOptions{};
    j = JQuantsArgs{};
    bool jquantsValue = false;  // an option only --jquants takes
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
        if (arg == "--jquants") {
            j.enabled = true;
            continue;
        }
        const bool jquantsOption = arg == "--from" || arg == "--to" || arg == "--key-file" ||
                                   arg == "--rate" || arg == "--api-base";
        const bool takesValue = arg == "--root" || arg == "--market" || arg == "--names" ||
                                arg == "--code" || arg == "--split" || jquantsOption;
        if (!takesValue) {
            problem = "unknown option " + arg;
            return ArgsResult::Usage;
        }
        if (i + 1 >= args.size()) {
            problem = arg + " needs a value";
            return ArgsResult::Usage;
        }
        const std::string& value = args[++i];
        jquantsValue |= jquantsOption;
        if (arg == "--from" || arg == "--to") {
            const int32_t date = parseDate(value);
            if (date == 0) {
                problem = arg + " " + value + ": not a date (2024-01-04 or 20240104)";
                return ArgsResult::Usage;
            }
            (arg == "--from" ? j.from : j.to) = date;
        } else if (arg == "--key-file") {
            j.keyFile = value;
        } else if (arg == "--rate") {
            int rate = 0;
            for (const char c : value) {
                rate = c >= '0' && c <= '9' && rate < 100000 ? rate * 10 + (c - '0') : -1;
                if (rate < 0) {
                    break;
                }
            }
            if (value.empty() || rate < 1 || rate > 10000) {
                problem = "--rate " + value + ": give the requests a minute, 1 to 10000";
                return ArgsResult::Usage;
            }
            j.requestsPerMinute = rate;
        } else if (arg == "--api-base") {
            if (!value.starts_with("https://") && !value.starts_with("http://")) {
                problem = "--api-base " + value + ": give an http:// or https:// address";
                return ArgsResult::Usage;
            }
            j.apiBase = value;
        } else if (arg == "--root") {
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
    if (j.enabled) {
        if (!o.files.empty() || !o.namesFile.empty() || o.code || !o.splits.empty()) {
            problem = "--jquants takes no files, --names, --code or --split";
            return ArgsResult::Usage;
        }
        if (j.from != 0 && j.to != 0 && j.from > j.to) {
            problem = "--from is after --to";
            return ArgsResult::Usage;
        }
        return ArgsResult::Run;
    }
    if (jquantsValue) {
        problem = "--from, --to, --key-file, --rate and --api-base go with --jquants";
        return ArgsResult::Usage;
    }
    if (o.files.empty() && o.namesFile.empty()) {
        problem = "no file to import";
        return ArgsResult::Usage;
    }
    return ArgsResult::Run;
}

}  // namespace zepa
