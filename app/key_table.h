// The key table: which internal command a key runs. Keys are Windows virtual-key codes; the
// name is how the key help page writes the key, so that a test can hold the two together.
#pragma once

#include <array>
#include <string_view>

namespace zepa {

struct KeyBinding {
    int virtualKey;
    bool ctrl;
    int command;  // an internal command of the router
    std::string_view name;
};

inline constexpr std::array<KeyBinding, 17> kKeyTable = {{
    {8, false, 1012, "Backspace"},  // automatic stepping
    {13, false, 1013, "Enter"},     // back to the newest dates
    {27, false, 1020, "Esc"},       // exit
    {32, false, 300, "Space"},      // next lower-pane chart
    {33, false, 1008, "Page Up"},   // older dates
    {37, false, 1008, "←"},
    {34, false, 1009, "Page Down"},  // newer dates
    {39, false, 1009, "→"},
    {36, false, 126, "Home"},     // first position
    {38, false, 1010, "↑"},       // previous position
    {40, false, 1011, "↓"},       // next position
    {46, false, 125, "Delete"},   // daily / weekly bars
    {'0', false, 1015, "0"},      // next preset pitch
    {'0', true, 130, "Ctrl+0"},   // a temporary pitch
    {'F', true, 1040, "Ctrl+F"},  // the ペア検索 window (internal_command::kPairSearch)
    {'L', true, 1041, "Ctrl+L"},  // the 建玉一覧 window (internal_command::kOverview)
    {112, false, 1031, "F1"},     // help
}};

}  // namespace zepa
