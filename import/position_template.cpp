#include "import/position_template.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/codepage.h"

namespace zepa {

std::string positionTemplateText() {
    // Every line is a comment: the viewer reads no position from the template itself.
    static constexpr const char* kText =
        "# ポジションファイル: 1行に1ポジション（買い銘柄と売り銘柄）。# で始まる行は注釈です。\r\n"
        "# 桁位置は固定です（1桁目から数えます）:\r\n"
        "#   1-8   買い: 市場記号と銘柄コード (T7203)    10-18 買い: 略称 (6バイトまで)\r\n"
        "#   20-28 買い: 建てた日 YYMMDD (250401)        30-38 買い: 株数\r\n"
        "#   40-47 売り: 市場記号と銘柄コード            49-57 売り: 略称\r\n"
        "#   59-67 売り: 建てた日 YYMMDD                 69-77 売り: 株数\r\n"
        "# 市場記号: T 東証, O 大証, N 名証, K 店頭, G 外国, それ以外は指数。\r\n"
        "# 例（先頭の # を取ると有効になります）:\r\n"
        "#T7203    トヨタ    250401    100       T7267    ホンダ    250401    300\r\n"
        "#\r\n"
        "#23456789012345678901234567890123456789012345678901234567890123456789012345678\r\n"
        "#        1         2         3         4         5         6         7\r\n";
    return cp932FromUtf8(kText);
}

bool writePositionTemplate(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec) {
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const std::string text = positionTemplateText();
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace zepa
