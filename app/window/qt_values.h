// The program's plain values as Qt takes them: UTF-8 texts and 0x00BBGGRR colours.
#pragma once

#include <QColor>
#include <QString>

#include <string_view>

#include "settings/color_table.h"

namespace zepa {

inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QColor qColorOf(ColorRef color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF),
                  static_cast<int>(color >> 16 & 0xFF));
}

}  // namespace zepa
