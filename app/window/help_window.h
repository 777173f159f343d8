// The help viewer: the program's help pages in a window of their own beside the chart.
#pragma once

#include <QString>

class QWidget;

namespace zepa {

// Context numbers of the help topics.
inline constexpr int kMainHelpContext = 1;
inline constexpr int kKeyHelpContext = 7;

// Shows the help topic of `context` (7: the key help; 1 and anything else: the main help) in a
// non-modal help window and raises it. There is one help window per owner: a second call
// reuses it. The pages come from `helpRoot` when that folder holds an index.html, otherwise
// from the pages compiled into the program. `owner` may be null.
void showHelpWindow(QWidget* owner, int context, const QString& helpRoot);

}  // namespace zepa
