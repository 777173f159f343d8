// Closing a position: the realised profit on the exit date, the record appended to the closed
// trades, then the line taken out of the position file. In that order, so that a stop between
// the two writes leaves the trade in at least one file, and closing again finds the record and
// does not add it twice.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "marketdata/correction_list.h"
#include "marketdata/price_database.h"
#include "positions/closed_trades.h"
#include "positions/position_file_edit.h"

namespace zepa {

struct CloseRequest {
    int position = -1;
    int32_t exitDate = 0;  // YYYYMMDD; 0 the newest date. The last close on or before it.
    std::optional<int64_t> buyExitPrice;  // default: the close of the exit date
    std::optional<int64_t> sellExitPrice;
    std::string note;  // UTF-8
    // Yearly rates of margin interest on the bought leg and 貸株料 on the sold leg (0.028 is
    // 2.8 %): the stored rule's.
    double buyRate = 0.028;
    double borrowRate = 0.0115;
};

struct CloseOutcome {
    bool ok = false;
    std::string message;  // UTF-8, why it was refused
    ClosedTrade trade;
    bool alreadyRecorded = false;  // the record was there from an earlier, interrupted close
};

// The trade the close would record, without writing anything.
CloseOutcome previewClose(MarketData& md, const CorrectionList& corrections,
                          const PositionRecord& position, const CloseRequest& request);

// For tests: stops after the closed-trades record is written, as a crash there would.
struct CloseHooks {
    bool stopAfterRecord = false;
};

// Previews, appends the record (unless already there) and removes the line from the snapshot's
// file, which must be unchanged since it was read.
CloseOutcome closePosition(MarketData& md, const CorrectionList& corrections,
                           const PositionFileSnapshot& snapshot, const std::string& closedPath,
                           const CloseRequest& request, const CloseHooks& hooks = {});

}  // namespace zepa
