// The help viewer: the program's help pages in a window of their own beside the chart.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace zepa {

// Context numbers of the help topics.
inline constexpr int kMainHelpContext = 1;
inline constexpr int kKeyHelpContext = 7;

// Shows the help topic of `context` (7: the key help; 1 and anything else: the main help) in a
// non-modal help window beside the owner and raises it; Esc closes it. There is one help
// window per owner: a second call reuses it, and it goes when the owner goes. The pages come from
// `helpRoot` when that folder holds an index.html, otherwise from the pages compiled into the
// program. `owner` may be null.
void showHelpWindow(QWidget* owner, int context, const QString& helpRoot);

// Where a help window of size `help` opens for an owner window whose frame is `owner`, on a
// screen whose available area is `available`: right of the owner, else left of it, else as far
// right as the screen allows; its top at the owner's, kept on the screen.
QPoint helpWindowPosition(const QRect& owner, const QSize& help, const QRect& available);

}  // namespace zepa
