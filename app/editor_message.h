// What the user reads when the position file could open in no editor at all.
#pragma once

#include <string>
#include <string_view>

namespace zepa {

inline constexpr const char* kEditorCaption = "建玉ファイル編集";

// Names the position file and says how to set EDITOR under [MENU] of the settings file (both
// native paths, UTF-8).
std::string editorUnavailableMessage(std::string_view positionFile, std::string_view settingsFile);

}  // namespace zepa
