#include "app/window/about_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/window/qt_values.h"
#include "platform/raster_surface.h"
#include "settings/input_dialog_logic.h"

namespace zepa {

namespace {

using namespace about_dialog;

// "ＭＳ ゴシック" at 12 points: 16 pixels on a 96-dpi screen.
constexpr int kFontPixels = 16;
constexpr int kWidthUnits = 170;
constexpr int kHeightUnits = 77;

QLabel* centredLabel(QWidget* parent, std::string_view text) {
    auto* label = new QLabel(fromUtf8(text), parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : TemplateDialog(owner, kFontPixels, kWidthUnits, kHeightUnits) {
    setWindowTitle(fromUtf8(kTitle));
    place(centredLabel(this, kProgramLine), -1, DialogRect{14, 14, 140, 11});
    place(centredLabel(this, kMakerLine), -1, DialogRect{20, 33, 132, 12});
    auto* ok =
        place(new QPushButton(fromUtf8(kOkText), this), kOkButton, DialogRect{60, 55, 50, 14});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });

    registerIconResources();
    auto* icon = place(new QLabel(this), -1, DialogRect{141, 51, 16, 17});
    if (const char* path = iconResourcePath(kProgramIcon)) {
        const QIcon program(QString::fromLatin1(path));
        icon->setPixmap(program.pixmap(icon->size().boundedTo(QSize(32, 32))));
        setWindowIcon(program);
    }
    icon->setAlignment(Qt::AlignCenter);
}

void runAboutDialog(QWidget* owner) {
    AboutDialog dialog(owner);
    dialog.exec();
}

}  // namespace zepa
