// The viewer's own per-user store, on whichever platform: the registry on Windows, QSettings'
// INI file elsewhere. Tools that read the user's settings open it through this.
#pragma once

#include <memory>

#include "settings/value_store.h"

namespace zepa {

std::unique_ptr<ValueStore> openUserValueStore();

}  // namespace zepa
