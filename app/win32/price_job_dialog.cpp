#include "price_job_dialog.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>

#include "app/price_update/background_job.h"
#include "dialogs.h"
#include "import/field_values.h"
#include "import/jquants_key.h"
#include "positions/position_request.h"
#include "resource_ids.h"
#include "wide_text.h"

namespace zepa::win32 {
namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMilliseconds = 200;

struct JobState {
    std::wstring caption;
    PriceJobWork work;
    std::function<void()> settings;
    PriceJobProgress progress;
    std::unique_ptr<BackgroundJob<PriceJobOutcome>> job;
    PriceJobOutcome outcome;
    bool ended = false;
    int shownTotal = -1;
};

void setLine(HWND dialog, std::string_view utf8Text) {
    SetDlgItemTextW(dialog, ZEPA_JOB_TEXT, wide(utf8Text).c_str());
}

void startJob(HWND dialog, JobState& s) {
    if (s.job != nullptr || s.ended) {
        return;
    }
    EnableWindow(GetDlgItem(dialog, ZEPA_JOB_START), FALSE);
    EnableWindow(GetDlgItem(dialog, ZEPA_JOB_SETTINGS), FALSE);
    EnableWindow(GetDlgItem(dialog, ZEPA_JOB_STOP), TRUE);
    SetFocus(GetDlgItem(dialog, ZEPA_JOB_STOP));
    setLine(dialog, kPriceJobPreparingText);
    s.job = std::make_unique<BackgroundJob<PriceJobOutcome>>([&s] { return s.work(s.progress); });
    SetTimer(dialog, kPollTimer, kPollMilliseconds, nullptr);
}

void stopJob(HWND dialog, JobState& s) {
    if (s.job == nullptr || s.progress.cancel) {
        return;
    }
    s.progress.cancel = true;
    EnableWindow(GetDlgItem(dialog, ZEPA_JOB_STOP), FALSE);
    setLine(dialog, kPriceJobStoppingText);
}

void poll(HWND dialog, JobState& s) {
    const int total = s.progress.total;
    HWND bar = GetDlgItem(dialog, ZEPA_JOB_BAR);
    if (total > 0) {
        if (total != s.shownTotal) {
            SendMessageW(bar, PBM_SETRANGE32, 0, total);
            s.shownTotal = total;
        }
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(s.progress.done.load()), 0);
        if (const std::string line = priceJobProgressText(s.progress); !line.empty()) {
            setLine(dialog, line);
        }
    }
    if (s.job != nullptr && s.job->finished()) {
        KillTimer(dialog, kPollTimer);
        s.outcome = s.job->take();
        s.job.reset();
        s.ended = true;
        EndDialog(dialog, IDOK);
    }
}

INT_PTR CALLBACK jobProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    auto* s = reinterpret_cast<JobState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            s = reinterpret_cast<JobState*>(l);
            SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
            SetWindowTextW(dialog, s->caption.c_str());
            SendMessageW(GetDlgItem(dialog, ZEPA_JOB_BAR), PBM_SETRANGE32, 0, 1);
            setLine(dialog, kPriceJobReadyText);
            centre(dialog);
            if (!s->settings) {
                // Nothing to set first: the work starts as the window opens.
                ShowWindow(GetDlgItem(dialog, ZEPA_JOB_SETTINGS), SW_HIDE);
                startJob(dialog, *s);
                return FALSE;
            }
            return TRUE;
        }
        case WM_TIMER:
            if (s != nullptr && w == kPollTimer) {
                poll(dialog, *s);
            }
            return TRUE;
        case WM_COMMAND:
            if (s == nullptr) {
                return FALSE;
            }
            switch (LOWORD(w)) {
                case ZEPA_JOB_START:
                    startJob(dialog, *s);
                    return TRUE;
                case ZEPA_JOB_SETTINGS:
                    if (s->job == nullptr && s->settings) {
                        // 詳細設定 belongs to the chart's window; this one waits under it, so
                        // that 開始 cannot start the job on settings half edited.
                        EnableWindow(dialog, FALSE);
                        s->settings();
                        EnableWindow(dialog, TRUE);
                        SetForegroundWindow(dialog);
                    }
                    return TRUE;
                case ZEPA_JOB_STOP:
                    stopJob(dialog, *s);
                    return TRUE;
                case IDCANCEL:
                    // Escape or the close box: before a start the window goes; while the job
                    // runs it is a stop, and the window goes with the job's end.
                    if (s->job == nullptr) {
                        EndDialog(dialog, IDCANCEL);
                    } else {
                        stopJob(dialog, *s);
                    }
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK settingsProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    auto* settings = reinterpret_cast<PriceUpdateSettings*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            settings = reinterpret_cast<PriceUpdateSettings*>(l);
            SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(settings));
            std::string stored;
            std::string problem;
            const bool hasKey = readKeyFile(userKeyFilePath(), stored, problem) == KeyResult::Found;
            // A key typed shows as dots, as the stored one does; a key typed replaces it.
            SendDlgItemMessageW(dialog, ZEPA_PRICE_KEY, EM_SETPASSWORDCHAR, L'\u25CF', 0);
            SetDlgItemTextW(dialog, ZEPA_PRICE_KEY_STORED,
                            wide(storedKeyHint(hasKey, stored)).c_str());
            stored.assign(stored.size(), '\0');
            SetDlgItemTextW(dialog, ZEPA_PRICE_RATE,
                            std::to_wstring(settings->requestsPerMinute).c_str());
            if (settings->firstFillFrom != 0) {
                SetDlgItemTextW(dialog, ZEPA_PRICE_FROM,
                                wide(isoDate(settings->firstFillFrom)).c_str());
            }
            centre(dialog);
            return TRUE;
        }
        case WM_COMMAND:
            if (settings == nullptr) {
                return FALSE;
            }
            if (LOWORD(w) == ZEPA_PRICE_OK) {
                std::string problem;
                if (!readPriceUpdateForm(windowText(GetDlgItem(dialog, ZEPA_PRICE_RATE)),
                                         windowText(GetDlgItem(dialog, ZEPA_PRICE_FROM)), *settings,
                                         problem)) {
                    MessageBoxW(dialog, wide(problem).c_str(), wide(kPriceUpdateCaption).c_str(),
                                MB_OK | MB_ICONEXCLAMATION);
                    return TRUE;
                }
                std::string key = windowText(GetDlgItem(dialog, ZEPA_PRICE_KEY));
                if (!key.empty() && !storeApiKey(key, problem)) {
                    MessageBoxW(dialog, wide(problem).c_str(), wide(kPriceUpdateCaption).c_str(),
                                MB_OK | MB_ICONEXCLAMATION);
                }
                key.assign(key.size(), '\0');
                SetDlgItemTextW(dialog, ZEPA_PRICE_KEY, L"");
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(w) == ZEPA_PRICE_CANCEL || LOWORD(w) == IDCANCEL) {
                SetDlgItemTextW(dialog, ZEPA_PRICE_KEY, L"");
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

bool runPriceJobDialog(HWND owner, HINSTANCE instance, std::string_view caption, PriceJobWork work,
                       const std::function<void()>& settings, PriceJobOutcome& outcome) {
    JobState state;
    state.caption = wide(caption);
    state.work = std::move(work);
    state.settings = settings;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(ZEPA_PRICE_JOB_DIALOG), owner, jobProcedure,
                    reinterpret_cast<LPARAM>(&state));
    // A window that went some other way while the job ran: the job is stopped and waited for.
    if (state.job != nullptr) {
        state.progress.cancel = true;
        state.outcome = state.job->take();
        state.job.reset();
        state.ended = true;
    }
    if (state.ended) {
        outcome = std::move(state.outcome);
    }
    return state.ended;
}

bool runPriceUpdateSettingsDialog(HWND owner, HINSTANCE instance, PriceUpdateSettings& settings) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(ZEPA_PRICE_SETTINGS_DIALOG), owner,
                           settingsProcedure, reinterpret_cast<LPARAM>(&settings)) == IDOK;
}

}  // namespace zepa::win32
