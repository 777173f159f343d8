// The main window's part in 株価更新 and 株価取り込み…: the job's window and the file choosers;
// the key, the work, the reload and the summary are app/price_update/price_menu.h's.
#include "frame_window.h"

#include <cderr.h>
#include <commdlg.h>

#include <string>
#include <utility>
#include <vector>

#include "price_job_dialog.h"
#include "wide_text.h"

namespace zepa::win32 {
namespace {

// A chosen file's path as the program's file functions take it (the system's code page); one
// the code page cannot spell goes by its short name.
std::string programPath(const std::wstring& path) {
    const auto narrow = [](const std::wstring& p, bool& lossy) {
        BOOL usedDefault = FALSE;
        const int n =
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, p.c_str(), static_cast<int>(p.size()),
                                nullptr, 0, nullptr, &usedDefault);
        std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
        if (n > 0) {
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, p.c_str(), static_cast<int>(p.size()),
                                out.data(), n, nullptr, &usedDefault);
        }
        lossy = usedDefault != FALSE || n <= 0;
        return out;
    };
    bool lossy = false;
    std::string out = narrow(path, lossy);
    if (lossy) {
        std::wstring shortPath(32768, L'\0');
        const DWORD n =
            GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
        if (n > 0 && n < shortPath.size()) {
            shortPath.resize(n);
            out = narrow(shortPath, lossy);
        }
    }
    return out;
}

// The files chosen in the open dialog: one full path, or with several the folder and then
// each name, every part ended by a zero and the whole by a second one.
std::vector<std::wstring> chosenFiles(const wchar_t* buffer) {
    std::vector<std::wstring> parts;
    for (const wchar_t* p = buffer; *p != L'\0'; p += parts.back().size() + 1) {
        parts.emplace_back(p);
    }
    if (parts.size() <= 1) {
        return parts;
    }
    std::vector<std::wstring> files;
    std::wstring folder = parts.front();
    if (!folder.empty() && folder.back() != L'\\') {
        folder += L'\\';
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        files.push_back(folder + parts[i]);
    }
    return files;
}

std::vector<std::wstring> chooseFiles(HWND owner, const wchar_t* title, const wchar_t* filter,
                                      bool several) {
    std::vector<wchar_t> buffer(several ? 65536 : MAX_PATH * 4, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                OFN_EXPLORER | (several ? OFN_ALLOWMULTISELECT : 0);
    if (!GetOpenFileNameW(&ofn)) {
        // Cancelled says nothing; a choice too long for the names' buffer must not look like one.
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
            MessageBoxW(owner, L"選んだファイルが多すぎます。何回かに分けて取り込んで下さい。",
                        title, MB_OK | MB_ICONEXCLAMATION);
        }
        return {};
    }
    return chosenFiles(buffer.data());
}

}  // namespace

void FrameWindow::runPriceUpdate() {
    PriceUpdateSettings settings;
    if (a_.store != nullptr) {
        settings = loadPriceUpdateSettings(*a_.store);
    }
    const auto editSettings = [this, &settings] {
        if (runPriceUpdateSettingsDialog(window_, instance_, settings) && a_.store != nullptr) {
            savePriceUpdateSettings(*a_.store, settings);
        }
    };
    if (!priceUpdateKeyReady(*this, editSettings)) {
        return;
    }
    runPriceJob(kPriceUpdateCaption, priceUpdateWork(a_.paths.root, settings), editSettings);
}

void FrameWindow::runPriceImport() {
    const std::vector<std::wstring> files =
        chooseFiles(window_, L"株価ファイルを選ぶ（複数可）",
                    L"株価ファイル (*.csv;*.txt;*.json)\0*.csv;*.txt;*.json\0すべてのファイル "
                    L"(*.*)\0*.*\0",
                    true);
    if (files.empty()) {
        return;
    }
    PriceImportRequest request;
    request.root = a_.paths.root;
    for (const std::wstring& f : files) {
        request.files.push_back(programPath(f));
    }
    if (MessageBoxW(window_, L"銘柄名のファイル（上場銘柄一覧など）も取り込みますか？",
                    wide(kPriceImportCaption).c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) {
        const std::vector<std::wstring> names =
            chooseFiles(window_, L"銘柄名のファイルを選ぶ",
                        L"CSV (*.csv;*.txt)\0*.csv;*.txt\0すべてのファイル (*.*)\0*.*\0", false);
        if (!names.empty()) {
            request.namesFile = programPath(names.front());
        }
    }
    runPriceJob(kPriceImportCaption, priceImportWork(std::move(request)));
}

void FrameWindow::runPriceJob(std::string_view caption, PriceJobWork work,
                              const std::function<void()>& settings) {
    PriceJobOutcome outcome;
    if (runPriceJobDialog(window_, instance_, caption, std::move(work), settings, outcome) &&
        live()) {
        finishPriceJob(a_, *this, caption, std::move(outcome));
    }
}

}  // namespace zepa::win32
