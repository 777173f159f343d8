#include <gtest/gtest.h>

#include <QKeyEvent>

#include "app/frame_handlers.h"
#include "app/window/virtual_keys.h"

namespace zepa {
namespace {

int commandOf(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    const KeyInput input = keyInputOf(event);
    return keyCommandFor(input.virtualKey, input.ctrl);
}

TEST(KeyInput, AltAndShiftActAsTheKeyAloneAndCtrlOnlyOnZero) {
    struct Row {
        Qt::Key key;
        int command;  // without Ctrl
    };
    constexpr Row kRows[] = {
        {Qt::Key_Backspace, 1012}, {Qt::Key_Return, 1013}, {Qt::Key_Enter, 1013},
        {Qt::Key_Escape, 1020},    {Qt::Key_Space, 300},   {Qt::Key_PageUp, 1008},
        {Qt::Key_Home, 126},       {Qt::Key_Down, 1011},   {Qt::Key_Delete, 125},
        {Qt::Key_0, 1015},         {Qt::Key_F1, 1031},     {Qt::Key_C, -1},
        {Qt::Key_End, -1},         {Qt::Key_Insert, -1},   {Qt::Key_1, -1},
    };
    for (const Row& r : kRows) {
        for (Qt::KeyboardModifiers m :
             {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::AltModifier),
              Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::AltModifier | Qt::ShiftModifier}) {
            EXPECT_EQ(commandOf(r.key, m), r.command) << r.key << " " << m.toInt();
        }
        const int withCtrl = r.key == Qt::Key_0 ? 130 : -1;
        EXPECT_EQ(commandOf(r.key, Qt::ControlModifier), withCtrl) << r.key;
        EXPECT_EQ(commandOf(r.key, Qt::ControlModifier | Qt::AltModifier), withCtrl) << r.key;
    }
}

}  // namespace
}  // namespace zepa
