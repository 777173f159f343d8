#include "app/price_update/price_menu.h"

#include <ctime>
#include <utility>

#include "app/price_reload.h"
#include "import/field_values.h"
#include "import/jquants_key.h"
#include "marketdata/data_error.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

// Overwrites a key's characters before its memory goes back.
void wipe(std::string& key) {
    key.assign(key.size(), '\0');
    key.clear();
}

}  // namespace

bool priceUpdateKeyReady(Shell& shell, const std::function<void()>& editSettings) {
    std::string key;
    std::string problem;
    KeyResult found = findApiKey("", key, problem);
    if (found == KeyResult::NotGiven) {
        shell.messageBox(kNoKeyMessage, kPriceUpdateCaption, MessageIcon::Information);
        if (editSettings) {
            editSettings();
        }
        found = findApiKey("", key, problem);
        if (found == KeyResult::NotGiven) {
            wipe(key);
            return false;
        }
    }
    wipe(key);
    if (found == KeyResult::Refused) {
        shell.messageBox(problem, kPriceUpdateCaption, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

PriceJobWork priceUpdateWork(std::string root, const PriceUpdateSettings& settings) {
    return [root = std::move(root), &settings](PriceJobProgress& progress) {
        PriceUpdateRequest request;
        std::string problem;
        const KeyResult found = findApiKey("", request.key, problem);
        if (found != KeyResult::Found) {
            // Gone since the check before the window: the viewer's words, not the command's.
            PriceJobOutcome outcome;
            outcome.summary =
                (found == KeyResult::NotGiven ? std::string(kNoKeyMessage) : problem) +
                "\n株価は書き込んでいません。\n";
            return outcome;
        }
        request.root = root;
        request.settings = settings;
        request.today = tokyoDateOf(static_cast<int64_t>(std::time(nullptr)));
        PriceJobOutcome outcome = runPriceUpdate(request, progress);
        wipe(request.key);
        return outcome;
    };
}

PriceJobWork priceImportWork(PriceImportRequest request) {
    return [request = std::move(request)](PriceJobProgress& progress) {
        return runPriceImport(request, progress);
    };
}

std::string priceJobProgressText(const PriceJobProgress& progress) {
    const int total = progress.total;
    const int32_t day = progress.day;
    if (total <= 0 || day == 0 || progress.cancel) {
        return {};
    }
    // The day being fetched is the one after those done; the last one's number stays at the end.
    const int done = progress.done;
    const int current = done < total ? done + 1 : total;
    return std::to_string(current) + " / " + std::to_string(total) + " 日: " + isoDate(day);
}

void finishPriceJob(AppContext& a, Shell& shell, std::string_view caption,
                    PriceJobOutcome outcome) {
    if (outcome.reload) {
        if (const DataError e = reloadPrices(a, shell); e != DataError::None) {
            outcome.summary += "\n" + dataErrorMessage(e, a.paths.dataDirectory);
        }
    }
    shell.messageBox(
        outcome.summary, caption,
        outcome.status == kExitImported ? MessageIcon::Information : MessageIcon::Exclamation);
}

}  // namespace zepa
