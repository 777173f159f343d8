#include "app/editor_message.h"

namespace zepa {

std::string editorUnavailableMessage(std::string_view positionFile, std::string_view settingsFile) {
    std::string text = "建玉ファイル ";
    text += positionFile;
    text +=
        " を開くエディタを起動できませんでした。\n"
        "デスクトップにもこのファイルを開くアプリケーションがありません。\n\n"
        "設定ファイル ";
    text += settingsFile;
    text +=
        " の [MENU] に、エディタのコマンドを書いてください。例:\n\n"
        "[MENU]\n"
        "EDITOR=gedit";
    return text;
}

}  // namespace zepa
