// The resources drawn and written for the program: the toolbar strip and the help pages.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QStringDecoder>

#include <set>

#include "platform/raster_surface.h"
#include "tests/support/gui_environment.h"

namespace zepa {
namespace {

constexpr QRgb kButtonFace = 0xFFC0C0C0;
constexpr int kImageSize = 18;
constexpr int kImageCount = 11;

TEST(ToolbarStrip, ElevenImagesInSixteenColoursOnTheButtonFace) {
    registerIconResources();
    const QImage strip(QStringLiteral(":/toolbar/buttons.xpm"));
    ASSERT_FALSE(strip.isNull());
    ASSERT_EQ(strip.width(), kImageSize * kImageCount);
    ASSERT_EQ(strip.height(), kImageSize);

    const std::set<QRgb> palette = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000,
                                    0xFF000080, 0xFF800080, 0xFF008080, 0xFF808080,
                                    0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                    0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    for (int k = 0; k < kImageCount; ++k) {
        const int left = k * kImageSize;
        // The toolbar shows the images on its own face: no transparency, grey corners.
        EXPECT_EQ(strip.pixel(left, 0), kButtonFace) << "image " << k;
        EXPECT_EQ(strip.pixel(left + kImageSize - 1, kImageSize - 1), kButtonFace) << "image " << k;
        int drawn = 0;
        for (int y = 0; y < kImageSize; ++y) {
            for (int x = left; x < left + kImageSize; ++x) {
                const QRgb pixel = strip.pixel(x, y);
                EXPECT_TRUE(palette.count(pixel) == 1)
                    << "image " << k << " at " << x << "," << y << ": " << std::hex << pixel;
                drawn += pixel != kButtonFace ? 1 : 0;
            }
        }
        EXPECT_GE(drawn, 40) << "image " << k << " is nearly empty";
    }
}

QString helpPage(const char* name) {
    registerIconResources();
    QFile file(QStringLiteral(":/help/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "missing help page " << name;
        return {};
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    EXPECT_FALSE(utf8.hasError()) << name << " is not valid UTF-8";
    return text;
}

// Links stay inside the compiled-in pages: no scripts, no addresses outside the program.
void expectSelfContained(const QString& page, const char* name) {
    EXPECT_FALSE(page.contains(QLatin1String("<script"), Qt::CaseInsensitive)) << name;
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    for (const auto& match : link.globalMatch(page)) {
        const QString target = match.captured(1);
        EXPECT_FALSE(target.contains(QLatin1Char(':')))
            << name << " links to " << target.toStdString();
        EXPECT_TRUE(
            QFile::exists(QStringLiteral(":/help/") + target.section(QLatin1Char('#'), 0, 0)))
            << name << " links to missing " << target.toStdString();
    }
}

TEST(HelpPages, MainPageDescribesTheFilesAndCharts) {
    const QString page = helpPage("index.html");
    expectSelfContained(page, "index.html");
    EXPECT_TRUE(page.contains(QLatin1String("href=\"keys.html\"")));
    for (const char* topic : {"ZEPAWIN", "DBW.", "ZEPA_SPW.DAT", "HOSEI.DAT", "KOKOROE.TXT",
                              "40～47", "69～77", "東証", "大証", "名証", "店頭", "外国", "指数",
                              "利益チャート", "変動率", "さやチャート", "レシオケータ"}) {
        EXPECT_TRUE(page.contains(QString::fromUtf8(topic))) << "index.html lacks " << topic;
    }
}

TEST(HelpPages, KeyPageNamesEveryKeyAndMouseAction) {
    const QString page = helpPage("keys.html");
    expectSelfContained(page, "keys.html");
    EXPECT_TRUE(page.contains(QLatin1String("href=\"index.html\"")));
    for (const char* key : {"<td>Backspace</td>", "<td>Enter</td>",
                            "<td>Esc</td>",       "<td>Space</td>",
                            "<td>Page Up</td>",   "<td>Page Down</td>",
                            "<td>Home</td>",      "<td>←</td>",
                            "<td>↑</td>",         "<td>→</td>",
                            "<td>↓</td>",         "<td>Delete</td>",
                            "<td>0</td>",         "<td>Ctrl+0</td>",
                            "<td>F1</td>",        "<td>C</td>",
                            "カーソル ON/OFF",    "左クリック",
                            "株価データ",         "さやデータ",
                            "右クリック",         "自動移動"}) {
        EXPECT_TRUE(page.contains(QString::fromUtf8(key))) << "keys.html lacks " << key;
    }
}

}  // namespace
}  // namespace zepa
