#include "app/window/virtual_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <array>
#include <utility>

namespace zepa {

namespace {

constexpr std::pair<int, int> kNamedKeys[] = {
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Kana_Lock, 0x15},
    {Qt::Key_Katakana, 0x15},
    {Qt::Key_Hiragana_Katakana, 0x15},
    {Qt::Key_Kanji, 0x19},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Henkan, 0x1C},
    {Qt::Key_Muhenkan, 0x1D},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Select, 0x29},
    {Qt::Key_Printer, 0x2A},
    {Qt::Key_Execute, 0x2B},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_SysReq, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_Sleep, 0x5F},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_At, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_yen, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_AsciiCircum, 0xDE},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Underscore, 0xE2},
    {Qt::Key_Zenkaku_Hankaku, 0xF3},
};

// The number pad with Num Lock on; with it off Qt reports the navigation keys, which have the
// same codes as the main block's.
constexpr std::pair<int, int> kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

constexpr int kNumpad0 = 0x60;
constexpr int kF1 = 0x70;
constexpr int kFunctionKeyCount = 24;

// evdev keycodes of the main block, row by row, and the keys Windows names them by.
constexpr uint32_t kDigitRowFirst = 10;   // 1 2 ... 9 0
constexpr uint32_t kTopRowFirst = 24;     // Q W E R T Y U I O P
constexpr uint32_t kHomeRowFirst = 38;    // A S D F G H J K L
constexpr uint32_t kBottomRowFirst = 52;  // Z X C V B N M
constexpr char kDigitRow[] = "1234567890";
constexpr char kTopRow[] = "QWERTYUIOP";
constexpr char kHomeRow[] = "ASDFGHJKL";
constexpr char kBottomRow[] = "ZXCVBNM";

template <size_t N>
int rowKey(uint32_t keycode, uint32_t first, const char (&row)[N]) {
    if (keycode >= first && keycode < first + (N - 1)) {
        return row[keycode - first];
    }
    return kUnmappedVirtualKey;
}

}  // namespace

int virtualKeyOf(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return keypad ? kNumpad0 + (qtKey - Qt::Key_0) : qtKey;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return qtKey;  // Qt's letter keys are the upper-case ASCII codes, as Windows' are
    }
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kFunctionKeyCount) {
        return kF1 + (qtKey - Qt::Key_F1);
    }
    if (keypad) {
        for (const auto& [key, code] : kKeypadKeys) {
            if (key == qtKey) {
                return code;
            }
        }
    }
    for (const auto& [key, code] : kNamedKeys) {
        if (key == qtKey) {
            return code;
        }
    }
    return kUnmappedVirtualKey;
}

int virtualKeyOfX11Keycode(uint32_t keycode) {
    for (int code :
         {rowKey(keycode, kDigitRowFirst, kDigitRow), rowKey(keycode, kTopRowFirst, kTopRow),
          rowKey(keycode, kHomeRowFirst, kHomeRow), rowKey(keycode, kBottomRowFirst, kBottomRow)}) {
        if (code != kUnmappedVirtualKey) {
            return code;
        }
    }
    return kUnmappedVirtualKey;
}

int virtualKeyOf(const QKeyEvent& event) {
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    const int byKey = virtualKeyOf(event.key(), keypad);
    const bool letterOrDigit = (byKey >= '0' && byKey <= '9') || (byKey >= 'A' && byKey <= 'Z');
    // A shifted digit arrives as its symbol, a non-Latin letter as itself: the X11 keycode
    // still says which key it was.
    if (!keypad && !letterOrDigit && event.nativeScanCode() != 0 &&
        QGuiApplication::platformName() == QLatin1String("xcb")) {
        const int byPlace = virtualKeyOfX11Keycode(event.nativeScanCode());
        if (byPlace != kUnmappedVirtualKey) {
            return byPlace;
        }
    }
    return byKey;
}

KeyInput keyInputOf(const QKeyEvent& event) {
    return KeyInput{virtualKeyOf(event), event.modifiers().testFlag(Qt::ControlModifier)};
}

}  // namespace zepa
