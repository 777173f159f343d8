// The About box "バージョン情報": the program line, the maker's line, the program icon and
// "O K".
#pragma once

#include "app/window/settings_dialog.h"

namespace zepa {

class AboutDialog final : public TemplateDialog {
  public:
    explicit AboutDialog(QWidget* owner);

  protected:
    // Esc and the title bar's close box end it like "O K".
    void reject() override { done(1); }
};

// Menu command 202: the About box, modal over `owner`.
void runAboutDialog(QWidget* owner);

}  // namespace zepa
