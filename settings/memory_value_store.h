// A value store held in memory, for tests and tools that must not touch the user's store.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "settings/value_store.h"

namespace zepa {

class MemoryValueStore final : public ValueStore {
  public:
    bool readValue(std::string_view subkey, std::string_view name, std::string& text) override;
    bool writeValue(std::string_view subkey, std::string_view name, std::string_view text) override;

    // Sets a value directly, as a user editing the store would.
    void set(std::string_view subkey, std::string_view name, std::string_view text);
    // Null when absent.
    const std::string* find(std::string_view subkey, std::string_view name) const;

    // When set, every write fails and changes nothing.
    bool readOnly = false;
    // Keyed by (subkey, value name).
    std::map<std::pair<std::string, std::string>, std::string> values;
};

}  // namespace zepa
