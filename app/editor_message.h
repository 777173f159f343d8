// What the user reads about the editor of the position file.
#pragma once

#include <string>
#include <string_view>

namespace zepa {

inline constexpr const char* kEditorCaption = "建玉ファイル編集";

// The position file could open in no editor at all: names the file (a native path, UTF-8) and
// the editor command tried (empty when only the desktop's default application was), and says
// where to choose another.
std::string editorUnavailableMessage(std::string_view positionFile, std::string_view editorTried);

// The title of the 詳細設定 editor field, naming what an empty field stands for.
std::string editorFieldTitle(std::string_view defaultEditor);

}  // namespace zepa
