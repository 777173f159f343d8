// Command line of zepa_positions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zepa {

enum class PositionsCommand { List, Add, Change, Close, Remove, Closed };

struct PositionsArgs {
    std::string root = ".";
    PositionsCommand command = PositionsCommand::List;
    bool json = false;
    int position = -1;  // change, close, remove
    std::string buyCode;
    std::string sellCode;
    std::optional<int32_t> date;  // YYYYMMDD: both entry dates, or the exit date of close
    std::optional<int32_t> buyDate;
    std::optional<int32_t> sellDate;
    std::optional<std::string> quantity;  // as typed; checked against the column later
    std::optional<std::string> buyQuantity;
    std::optional<std::string> sellQuantity;
    std::optional<std::string> amount;
    std::optional<std::string> buyName;
    std::optional<std::string> sellName;
    std::optional<int64_t> buyPrice;
    std::optional<int64_t> sellPrice;
    std::optional<std::string> note;
};

// False with the reason on a usage error: an unknown command or option, a missing or malformed
// value, options that do not go together.
bool parsePositionsArgs(const std::vector<std::string>& args, PositionsArgs& out,
                        std::string& error);

inline constexpr const char* kPositionsUsage =
    "usage: zepa_positions [--root DIR] list [--json]\n"
    "       zepa_positions [--root DIR] add BUY_CODE SELL_CODE [--date YYYY-MM-DD]\n"
    "                      [--buy-date D] [--sell-date D] [--buy-name N] [--sell-name N]\n"
    "                      (--quantity Q | --buy-quantity Q --sell-quantity Q | --amount YEN)\n"
    "       zepa_positions [--root DIR] change N [the options of add]\n"
    "       zepa_positions [--root DIR] close N [--date D] [--buy-price P] [--sell-price P]\n"
    "                      [--note TEXT]\n"
    "       zepa_positions [--root DIR] remove N\n"
    "       zepa_positions [--root DIR] closed [--json]\n"
    "DIR holds ZEPAWIN/ (default: the working directory). N counts from 0 as list shows it.\n"
    "A code is 7203 (the market that lists it, Tokyo first) or T7203 with its market letter.\n";

}  // namespace zepa
