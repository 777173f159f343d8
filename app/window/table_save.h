// Ctrl+S of every table window: a CSV file the user names (the documents folder at first),
// written whole or not at all.
#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace zepa {

// Asks for the name (through `chooser` when a test sets one) and writes `csv` there; a file
// that cannot be written is said in a box over `parent`.
void saveTableAs(QWidget* parent, const QString& proposed,
                 const std::function<QString(const QString&)>& chooser, const std::string& csv);

}  // namespace zepa
