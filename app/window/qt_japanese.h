// Qt's own texts in Japanese: the colour, print and file dialogs and the standard buttons read
// like the program's own texts whatever the user's locale.
#pragma once

class QCoreApplication;
class QTranslator;

namespace zepa {

// Installs Qt's Japanese translations from Qt's translations folder. Returns the installed
// translator (owned by the application), or nullptr when they are not installed; the program
// then runs with Qt's English texts.
QTranslator* installQtJapanese(QCoreApplication& app);

}  // namespace zepa
