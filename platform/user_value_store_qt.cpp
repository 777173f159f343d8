#include "platform/qsettings_value_store.h"
#include "platform/user_value_store.h"

namespace zepa {

std::unique_ptr<ValueStore> openUserValueStore() {
    return std::make_unique<QSettingsValueStore>();
}

}  // namespace zepa
