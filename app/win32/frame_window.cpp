#include "frame_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <filesystem>

#include "advanced_dialog.h"
#include "app/startup.h"
#include "backtest_window.h"
#include "base/codepage.h"
#include "chart/primitives.h"
#include "chart/view_state.h"
#include "chart_output.h"
#include "data_window.h"
#include "dialogs.h"
#include "marketdata/data_error.h"
#include "pair_search_window.h"
#include "resource_ids.h"
#include "wide_text.h"
#include "window_object.h"

namespace zepa::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZEPA_SPW";
constexpr wchar_t kTitle[] = L"さやチャート";
// The selector and the status bar use font slot 0: the chart face at 15 pixels.
constexpr int kSlotZeroPixels = 15;
constexpr int kSmallestWidth = 160;
constexpr int kSmallestHeight = 120;

// Buttons are the 18 x 18 image on a 24 x 24 button; 39 separators' width of 8 pixels after the
// first keep the selector's 300 pixels free.
constexpr int kImageSize = 18;
constexpr int kButtonSize = kImageSize + 6;
constexpr int kSeparatorWidth = 8;
constexpr int kSelectorLeft = 28;
constexpr int kSelectorTop = 2;
constexpr int kSelectorWidth = 300;
constexpr int kSelectorDropHeight = 300;

struct ButtonEntry {
    int separatorsBefore;
    int commandId;
    int image;
    const wchar_t* tooltip;
};

constexpr ButtonEntry kButtons[] = {
    {0, 250, 0, L"建て玉ファイルの再読込"},
    {39, 251, 1, L"期日を前へ移動"},
    {0, 252, 2, L"期日を後へ移動"},
    {0, 253, 3, L"前の建て玉へ移動"},
    {0, 254, 4, L"後の建て玉へ移動"},
    {0, 255, 5, L"自動で移動"},
    {1, 260, 7, L"初期画面に戻す"},
    {0, 256, 6, L"チャートピッチの切り替え"},
    {0, 257, 8, L"カーソル ON/OFF"},
    {0, 258, 9, L"チャートの切り替え"},
    {1, 259, 10, L"終了"},
};

const wchar_t* tooltipOf(int commandId) {
    for (const ButtonEntry& b : kButtons) {
        if (b.commandId == commandId) {
            return b.tooltip;
        }
    }
    return nullptr;
}

// The mnemonics of the menu bar: ファイル(&F), 機能(&K), 設定(&S), 詳細設定(&D), ヘルプ(&H).
bool isMenuBarLetter(int virtualKey) {
    return virtualKey == 'F' || virtualKey == 'K' || virtualKey == 'S' || virtualKey == 'D' ||
           virtualKey == 'H';
}

RECT workArea() {
    RECT r{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

}  // namespace

std::wstring programFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::wstring(path, n)).parent_path().wstring();
}

FrameWindow::FrameWindow(AppContext& a) : a_(a) {}

FrameWindow::~FrameWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        DestroyWindow(window_);
    }
    windowGone();
    surface_.reset();
    if (slotZeroFont_ != nullptr) {
        DeleteObject(slotZeroFont_);
    }
}

bool FrameWindow::create(HINSTANCE instance) {
    instance_ = instance;
    registerWindowClass(instance, kClassName, procedure, nullptr, CS_DBLCLKS);

    surface_ = std::make_unique<GdiSurface>(buffer_.dc());
    slotZeroFont_ = createChartFont(kChartFontFace, -kSlotZeroPixels);
    const RECT desktop = workArea();
    const int width = (desktop.right - desktop.left) * 3 / 4;
    const int height = (desktop.bottom - desktop.top) * 3 / 4;
    window_ =
        CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                        CW_USEDEFAULT, width, height, nullptr,
                        LoadMenuW(instance, MAKEINTRESOURCEW(ZEPA_MAIN_MENU)), instance, this);
    return window_ != nullptr;
}

void FrameWindow::show(int showCommand) {
    ShowWindow(window_, showCommand);
    if (!shown_) {
        shown_ = true;
        paintRequest();
        SetFocus(window_);
    }
    UpdateWindow(window_);
}

LRESULT CALLBACK FrameWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    FrameWindow* self = windowObject<FrameWindow>(window, message, l);
    if (message == WM_NCCREATE && self != nullptr) {
        self->window_ = window;
    }
    if (self == nullptr) {
        return DefWindowProcW(window, message, w, l);
    }
    return self->handle(message, w, l);
}

void FrameWindow::createChildren() {
    // Clipped by its siblings: the selector lies over the strip and must not be painted over.
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS |
                                   CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                               0, 0, GetSystemMetrics(SM_CXSCREEN), kToolbarHeight, window_,
                               nullptr, instance_, nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
    SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonSize, kButtonSize));
    TBADDBITMAP strip{instance_, ZEPA_TOOLBAR_BITMAP};
    SendMessageW(toolbar_, TB_ADDBITMAP, 11, reinterpret_cast<LPARAM>(&strip));
    std::vector<TBBUTTON> buttons;
    for (const ButtonEntry& entry : kButtons) {
        // One separator as wide as the strip's run of them: its line, if the style draws
        // one, then lies under the selector.
        if (entry.separatorsBefore > 0) {
            TBBUTTON sep{};
            sep.iBitmap = entry.separatorsBefore * kSeparatorWidth;
            sep.fsStyle = BTNS_SEP;
            buttons.push_back(sep);
        }
        TBBUTTON b{};
        b.iBitmap = entry.image;
        b.idCommand = entry.commandId;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_BUTTON;
        buttons.push_back(b);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    // The tips show while the window is inactive too.
    if (HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar_, TB_GETTOOLTIPS, 0, 0))) {
        SetWindowLongPtrW(tips, GWL_STYLE, GetWindowLongPtrW(tips, GWL_STYLE) | TTS_ALWAYSTIP);
    }

    selector_ = CreateWindowExW(
        0, L"COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
        kSelectorLeft, kSelectorTop, kSelectorWidth, kSelectorDropHeight, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(command::kPositionSelector)), instance_,
        nullptr);
    SendMessageW(selector_, WM_SETFONT, reinterpret_cast<WPARAM>(slotZeroFont_), FALSE);
    SetWindowPos(selector_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP,
                              0, 0, 0, 0, window_, nullptr, instance_, nullptr);
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(slotZeroFont_), FALSE);
}

void FrameWindow::layoutChildren() {
    if (status_ != nullptr) {
        SendMessageW(status_, WM_SIZE, 0, 0);
        layoutSignalPart();
    }
}

int FrameWindow::statusBarHeight() const {
    if (status_ == nullptr || !IsWindowVisible(status_)) {
        return 0;
    }
    RECT r{};
    GetWindowRect(status_, &r);
    return r.bottom - r.top;
}

void FrameWindow::resetSurface() {
    surface_->setRasterOp(RasterOp::CopyPen);
    surface_->selectDefaultPen();
    surface_->setTextColor(rgbColor(0, 0, 0));
    surface_->setBackgroundColor(rgbColor(255, 255, 255));
    surface_->setBackgroundMode(BackgroundMode::Opaque);
}

void FrameWindow::paintRequest() {
    if (!shown_ || closed_) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right <= 0 || client.bottom <= 0 || !buffer_.resize(client.right, client.bottom)) {
        return;
    }
    buffer_.fill(RGB(255, 255, 255));
    resetSurface();
    onPaint(a_, *this, *surface_, client.right, client.bottom, statusBarHeight());
    InvalidateRect(window_, nullptr, FALSE);
}

void FrameWindow::recordPlacement() {
    if (!recordPlacement_ || closed_) {
        return;
    }
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(window_, &wp)) {
        return;
    }
    WindowPlacement p;
    p.flags = wp.flags;
    p.showCommand = wp.showCmd;
    p.minX = wp.ptMinPosition.x;
    p.minY = wp.ptMinPosition.y;
    p.maxX = wp.ptMaxPosition.x;
    p.maxY = wp.ptMaxPosition.y;
    p.left = wp.rcNormalPosition.left;
    p.top = wp.rcNormalPosition.top;
    p.right = wp.rcNormalPosition.right;
    p.bottom = wp.rcNormalPosition.bottom;
    onMoveOrSize(a_, p);
}

void FrameWindow::restorePlacement(const WindowPlacement& placement) {
    const RECT desktop = workArea();
    const ScreenRect r =
        // The window system's pixels here are those of 100 %: a value stored at another scale
        // keeps its size on the screen.
        fitPlacement(placementAtScale(placement, 100),
                     ScreenRect{desktop.left, desktop.top, desktop.right - desktop.left,
                                desktop.bottom - desktop.top},
                     kSmallestWidth, kSmallestHeight);
    SetWindowPos(window_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrameWindow::windowGone() {
    if (closed_ || !created_) {
        return;
    }
    closed_ = true;
    KillTimer(window_, kNoPositionTimer);
    KillTimer(window_, kAutoStepTimer);
    onDestroy(a_, *this);
}

void FrameWindow::command(int commandId, int selection) {
    if (live()) {
        onCommand(a_, *this, commandId, selection);
    }
}

LRESULT FrameWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_CREATE:
            createChildren();
            onCreate(a_, *this);
            created_ = true;
            return 0;
        case WM_SIZE:
            layoutChildren();
            paintRequest();
            recordPlacement();
            return 0;
        case WM_MOVE:
            recordPlacement();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the picture covers everything
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window_, &ps);
            buffer_.show(dc, ps.rcPaint);
            EndPaint(window_, &ps);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            // Alt with a menu bar letter opens that menu, as in the Qt window; any other Alt+key
            // arrives like the plain key. Shift is not looked at.
            const bool menuKey = message == WM_SYSKEYDOWN && isMenuBarLetter(static_cast<int>(w));
            if (live() && !menuKey) {
                onKey(a_, *this, static_cast<int>(w), GetKeyState(VK_CONTROL) < 0);
            }
            if (message == WM_SYSKEYDOWN) {
                break;  // Alt+F4, F10 and the menu's own keys keep working
            }
            return 0;
        }
        case WM_COMMAND: {
            const int id = LOWORD(w);
            const int code = HIWORD(w);
            if (reinterpret_cast<HWND>(l) == selector_) {
                if (code == CBN_SELENDOK) {
                    const int index = static_cast<int>(SendMessageW(selector_, CB_GETCURSEL, 0, 0));
                    command(command::kPositionSelector, index);
                    SetFocus(window_);  // the keys go back to the chart
                } else if (code == CBN_SETFOCUS && live()) {
                    onFocusLost(a_, *this);
                }
                return 0;
            }
            if (id == ZEPA_PRICE_UPDATE_COMMAND && live()) {
                runPriceUpdate();
            } else if (id == ZEPA_PRICE_IMPORT_COMMAND && live()) {
                runPriceImport();
            } else {
                command(id);
            }
            return 0;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(l);
            if (header->hwndFrom == toolbar_ && header->code == NM_CUSTOMDRAW) {
                // The strip's face behind the buttons, as the image strip's grey stands for.
                auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(l);
                if (draw->dwDrawStage == CDDS_PREPAINT) {
                    RECT all{};
                    GetClientRect(toolbar_, &all);
                    FillRect(draw->hdc, &all, GetSysColorBrush(COLOR_BTNFACE));
                }
                return CDRF_DODEFAULT;
            }
            if (header->code == TTN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(l);
                if (const wchar_t* tip = tooltipOf(static_cast<int>(header->idFrom))) {
                    info->lpszText = const_cast<wchar_t*>(tip);
                }
            }
            return 0;
        }
        case kOverviewMessage:
            overviewDue();
            return 0;
        case WM_TIMER:
            if (live()) {
                onTimer(a_, *this, static_cast<int>(w));
            }
            return 0;
        case WM_MOUSEMOVE:
            if (live()) {
                onMouseMove(a_, *this, GET_X_LPARAM(l), GET_Y_LPARAM(l));
            }
            return 0;
        case WM_MOUSEWHEEL: {
            const int notches = wheelNotches(wheelRest_, GET_WHEEL_DELTA_WPARAM(w));
            if (live() && notches != 0) {
                onWheel(a_, *this, notches, (GET_KEYSTATE_WPARAM(w) & MK_SHIFT) != 0);
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (live()) {
                onLeftButtonDown(a_, *this);
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            if (live()) {
                onLeftDoubleClick(a_, *this, GET_X_LPARAM(l), GET_Y_LPARAM(l));
            }
            return 0;
        case WM_RBUTTONDOWN:
            if (live()) {
                onRightButtonDown(a_, *this);
            }
            return 0;
        case WM_KILLFOCUS:
            if (live()) {
                onFocusLost(a_, *this);
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            windowGone();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

// ---- Shell

void FrameWindow::messageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    if (endedByDataError_) {
        return;
    }
    MessageBoxW(
        window_, wide(text).c_str(), wide(caption).c_str(),
        MB_OK | (icon == MessageIcon::Information ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

void FrameWindow::beep() {
    MessageBeep(0);
}

void FrameWindow::setButtonPressed(int commandId, bool pressed) {
    SendMessageW(toolbar_, TB_CHECKBUTTON, commandId, MAKELPARAM(pressed ? TRUE : FALSE, 0));
    if (pressed) {
        SendMessageW(toolbar_, TB_ENABLEBUTTON, commandId, MAKELPARAM(TRUE, 0));
    }
}

void FrameWindow::setButtonEnabled(int commandId, bool enabled) {
    SendMessageW(toolbar_, TB_CHECKBUTTON, commandId, MAKELPARAM(FALSE, 0));
    SendMessageW(toolbar_, TB_ENABLEBUTTON, commandId, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void FrameWindow::setMenuItemEnabled(int commandId, bool enabled) {
    HMENU menu = GetMenu(window_);
    if (menu == nullptr) {
        return;
    }
    // By command: the item is found in whichever popup holds it.
    EnableMenuItem(menu, static_cast<UINT>(commandId),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window_);
}

void FrameWindow::setSelectorItems(const std::vector<std::string>& cp932Items) {
    SendMessageW(selector_, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : cp932Items) {
        const std::wstring text = wideFromCp932(item);
        SendMessageW(selector_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void FrameWindow::selectSelectorItem(int index) {
    const int count = static_cast<int>(SendMessageW(selector_, CB_GETCOUNT, 0, 0));
    SendMessageW(selector_, CB_SETCURSEL, index >= 0 && index < count ? index : -1, 0);
}

void FrameWindow::startTimer(int id, int milliseconds) {
    if (!closed_) {
        SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(std::max(0, milliseconds)),
                 nullptr);
    }
}

void FrameWindow::killTimer(int id) {
    KillTimer(window_, static_cast<UINT_PTR>(id));
}

void FrameWindow::drawOnWindow(const std::function<void(DrawingSurface&)>& draw) {
    resetSurface();
    draw(*surface_);
    InvalidateRect(window_, nullptr, FALSE);
}

void FrameWindow::invalidateWindow() {
    paintRequest();
}

void FrameWindow::setStatusText(std::string_view cp932) {
    const std::wstring text = wideFromCp932(cp932);
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void FrameWindow::openPairSearch() {
    pairSearch_ = win32::openPairSearchWindow(window_, instance_, a_, *this, pairSearch_);
}

void FrameWindow::openBacktestWindow() {
    win32::openBacktestWindow(window_, instance_, a_);
}

void FrameWindow::openDataWindow(int kind) {
    win32::openDataWindow(window_, instance_, a_, kind);
}

void FrameWindow::runSettingsDialog() {
    win32::runSettingsDialog(window_, instance_, a_, *this);
}

void FrameWindow::runAdvancedSettingsDialog() {
    win32::runAdvancedSettingsDialog(window_, instance_, a_, *this);
}

void FrameWindow::runInputDialog(int mode) {
    win32::runInputDialog(window_, instance_, a_, mode, nullptr);
}

void FrameWindow::runAboutDialog() {
    win32::runAboutDialog(window_, instance_);
}

void FrameWindow::outputChart(int kind) {
    const std::string note = win32::outputChart(window_, instance_, a_, buffer_, kind);
    if (!note.empty()) {
        setStatusText(cp932FromUtf8(note));
    }
}

bool FrameWindow::startProcess(const std::string& commandLine) {
    std::wstring line = wide(commandLine);
    if (line.empty()) {
        return false;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool FrameWindow::openWithDesktop(const std::string& path) {
    // Values above 32 mean the file was handed to an application.
    return reinterpret_cast<INT_PTR>(ShellExecuteW(window_, L"open",
                                                   std::filesystem::path(path).wstring().c_str(),
                                                   nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

void FrameWindow::showHelp(int context) {
    namespace fs = std::filesystem;
    const wchar_t* page = context == 7 ? L"keys.html" : L"index.html";
    std::error_code ec;
    // The installation's own help folder first, then the pages shipped beside the program.
    for (const fs::path& folder :
         {fs::path(a_.paths.helpDirectory), fs::path(programFolder()) / L"HELP"}) {
        const fs::path chosen =
            fs::is_regular_file(folder / page, ec) ? folder / page : folder / L"index.html";
        if (fs::is_regular_file(chosen, ec)) {
            ShellExecuteW(window_, L"open", chosen.wstring().c_str(), nullptr, nullptr,
                          SW_SHOWNORMAL);
            return;
        }
    }
    MessageBeep(0);
}

void FrameWindow::destroyWindow() {
    DestroyWindow(window_);
}

void FrameWindow::endAfterDataError(std::string_view text) {
    if (endedByDataError_) {
        return;
    }
    endedByDataError_ = true;
    MessageBoxW(nullptr, wide(text).c_str(), wide(kErrorCaption).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    DestroyWindow(window_);
}

}  // namespace zepa::win32
