#include "tools/positions/positions_args.h"

#include <charconv>

#include "positions/position_request.h"

namespace zepa {
namespace {

bool wholeNumber(const std::string& text, int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && !text.empty();
}

bool fail(std::string& error, std::string text) {
    error = std::move(text);
    return false;
}

}  // namespace

bool parsePositionsArgs(const std::vector<std::string>& args, PositionsArgs& out,
                        std::string& error) {
    out = PositionsArgs{};
    std::vector<std::string> operands;
    bool haveCommand = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            if (!haveCommand) {
                static const std::pair<const char*, PositionsCommand> kCommands[] = {
                    {"list", PositionsCommand::List},     {"add", PositionsCommand::Add},
                    {"change", PositionsCommand::Change}, {"close", PositionsCommand::Close},
                    {"remove", PositionsCommand::Remove}, {"closed", PositionsCommand::Closed}};
                bool known = false;
                for (const auto& [name, command] : kCommands) {
                    if (arg == name) {
                        out.command = command;
                        known = true;
                    }
                }
                if (!known) {
                    return fail(error, "unknown command: " + arg);
                }
                haveCommand = true;
            } else {
                operands.push_back(arg);
            }
            continue;
        }
        if (arg == "--json") {
            out.json = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            return fail(error, arg + " needs a value");
        }
        const std::string& value = args[++i];
        int32_t day = 0;
        int64_t number = 0;
        const auto dateOption = [&](std::optional<int32_t>& target) {
            if (!parseIsoDate(value, day)) {
                return fail(error, arg + " takes a date YYYY-MM-DD: " + value);
            }
            target = day;
            return true;
        };
        const auto priceOption = [&](std::optional<int64_t>& target) {
            if (!wholeNumber(value, number)) {
                return fail(error, arg + " takes a whole number of yen: " + value);
            }
            target = number;
            return true;
        };
        bool ok = true;
        if (arg == "--root") {
            out.root = value;
        } else if (arg == "--date") {
            ok = dateOption(out.date);
        } else if (arg == "--buy-date") {
            ok = dateOption(out.buyDate);
        } else if (arg == "--sell-date") {
            ok = dateOption(out.sellDate);
        } else if (arg == "--quantity") {
            out.quantity = value;
        } else if (arg == "--buy-quantity") {
            out.buyQuantity = value;
        } else if (arg == "--sell-quantity") {
            out.sellQuantity = value;
        } else if (arg == "--amount") {
            out.amount = value;
        } else if (arg == "--buy-name") {
            out.buyName = value;
        } else if (arg == "--sell-name") {
            out.sellName = value;
        } else if (arg == "--buy-price") {
            ok = priceOption(out.buyPrice);
        } else if (arg == "--sell-price") {
            ok = priceOption(out.sellPrice);
        } else if (arg == "--note") {
            out.note = value;
        } else {
            return fail(error, "unknown option: " + arg);
        }
        if (!ok) {
            return false;
        }
    }
    if (!haveCommand) {
        return fail(error, "no command");
    }
    const PositionsCommand c = out.command;
    const bool edits = c == PositionsCommand::Add || c == PositionsCommand::Change;
    const bool numbered = c == PositionsCommand::Change || c == PositionsCommand::Close ||
                          c == PositionsCommand::Remove;
    const size_t wanted = c == PositionsCommand::Add ? 2 : numbered ? 1 : 0;
    if (operands.size() != wanted) {
        return fail(error, "wrong number of operands");
    }
    if (c == PositionsCommand::Add) {
        out.buyCode = operands[0];
        out.sellCode = operands[1];
    } else if (numbered) {
        int64_t n = 0;
        if (!wholeNumber(operands[0], n) || n < 0 || n > 1000000) {
            return fail(error, "N is a position's number from 0: " + operands[0]);
        }
        out.position = static_cast<int>(n);
    }
    const bool sizes = out.quantity || out.buyQuantity || out.sellQuantity || out.amount;
    const bool dates = out.buyDate || out.sellDate;
    const bool names = out.buyName || out.sellName;
    if (out.json && c != PositionsCommand::List && c != PositionsCommand::Closed) {
        return fail(error, "--json goes with list and closed");
    }
    if (!edits && (sizes || dates || names)) {
        return fail(error, "quantities, entry dates and names go with add and change");
    }
    if (c != PositionsCommand::Close && (out.buyPrice || out.sellPrice || out.note)) {
        return fail(error, "--buy-price, --sell-price and --note go with close");
    }
    if (out.date && !edits && c != PositionsCommand::Close) {
        return fail(error, "--date goes with add, change and close");
    }
    const int ways = (out.quantity ? 1 : 0) + (out.buyQuantity || out.sellQuantity ? 1 : 0) +
                     (out.amount ? 1 : 0);
    if (ways > 1) {
        return fail(error, "give --quantity, --buy-quantity with --sell-quantity, or --amount");
    }
    if (c == PositionsCommand::Add &&
        (ways == 0 || (!out.quantity && !out.amount && (!out.buyQuantity || !out.sellQuantity)))) {
        return fail(error,
                    "add needs --quantity, --buy-quantity with --sell-quantity, or --amount");
    }
    return true;
}

}  // namespace zepa
