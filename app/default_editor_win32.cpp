#include "app/default_editor.h"

namespace zepa {

std::string_view platformDefaultEditor() {
    return "NOTEPAD.EXE";
}

}  // namespace zepa
