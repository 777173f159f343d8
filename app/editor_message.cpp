#include "app/editor_message.h"

namespace zepa {

std::string editorUnavailableMessage(std::string_view positionFile, std::string_view editorTried) {
    std::string text = "建玉ファイル ";
    text += positionFile;
    text += " を開けませんでした。\n";
    if (editorTried.empty()) {
        text += "このファイルを開く既定のアプリがありません。\n\n";
    } else {
        text += "エディタ「";
        text += editorTried;
        text += "」を起動できず、このファイルを開く既定のアプリもありません。\n\n";
    }
    text += "メニューの「詳細設定」で、建玉ファイルを開くエディタを指定してください。";
    return text;
}

std::string editorFieldTitle(std::string_view defaultEditor) {
    std::string title = "建玉ファイルを開くエディタ（空欄は";
    if (defaultEditor.empty()) {
        title += "既定のアプリ";
    } else {
        title += " ";
        title += defaultEditor;
    }
    return title + "）";
}

}  // namespace zepa
