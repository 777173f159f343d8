#include "settings/memory_value_store.h"

namespace zepa {

bool MemoryValueStore::readValue(std::string_view subkey, std::string_view name,
                                 std::string& text) {
    const std::string* stored = find(subkey, name);
    if (stored == nullptr) {
        return false;
    }
    text = *stored;
    return true;
}

bool MemoryValueStore::writeValue(std::string_view subkey, std::string_view name,
                                  std::string_view text) {
    if (readOnly) {
        return false;
    }
    set(subkey, name, text);
    return true;
}

void MemoryValueStore::set(std::string_view subkey, std::string_view name, std::string_view text) {
    values[{std::string(subkey), std::string(name)}] = std::string(text);
}

const std::string* MemoryValueStore::find(std::string_view subkey, std::string_view name) const {
    auto it = values.find(std::pair<std::string, std::string>(subkey, name));
    return it == values.end() ? nullptr : &it->second;
}

}  // namespace zepa
