// The editor the position file opens in when none is stored: the system's own.
#pragma once

#include <string_view>

namespace zepa {

// "NOTEPAD.EXE" on Windows; empty elsewhere, meaning the desktop's default application.
std::string_view platformDefaultEditor();

}  // namespace zepa
