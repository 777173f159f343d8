// Qt keys as the Windows virtual-key codes the key table of the viewer is written in.
#pragma once

#include <cstdint>

class QKeyEvent;

namespace zepa {

// What Windows reports for a key it has no code for.
inline constexpr int kUnmappedVirtualKey = 0xFF;

// The virtual-key code of a Qt::Key; keypad tells a number-pad key (Qt::KeypadModifier) from
// the main block's, since Windows gives the number pad's digits codes of their own.
int virtualKeyOf(int qtKey, bool keypad);

// The main block's letter and digit keys by X11 (evdev) keycode, for keys the layout turned
// into something else: Windows names those keys by their place, so Shift+0 is still the 0 key
// and a Cyrillic layout's C key is still C.
int virtualKeyOfX11Keycode(uint32_t keycode);

// The code of a key press as the window sees it.
int virtualKeyOf(const QKeyEvent& event);

// What the key table is looked up with. Alt and Shift are not looked at, so Alt+key acts as
// the key alone.
struct KeyInput {
    int virtualKey = kUnmappedVirtualKey;
    bool ctrl = false;
};
KeyInput keyInputOf(const QKeyEvent& event);

}  // namespace zepa
