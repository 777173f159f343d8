#include "app/default_editor.h"

namespace zepa {

// The desktop knows which application the user reads text files with.
std::string_view platformDefaultEditor() {
    return {};
}

}  // namespace zepa
