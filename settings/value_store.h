// A per-user key/value store of text values, grouped in subkeys ("CHART", "MENU"). The viewer
// uses one backed by QSettings; tests use the in-memory one.
#pragma once

#include <string>
#include <string_view>

namespace zepa {

class ValueStore {
  public:
    virtual ~ValueStore() = default;
    // The whole stored text; false when the value or its subkey is missing or the store
    // cannot be read.
    virtual bool readValue(std::string_view subkey, std::string_view name, std::string& text) = 0;
    // False when the value could not be stored; the rest of the store is left as it was.
    virtual bool writeValue(std::string_view subkey, std::string_view name,
                            std::string_view text) = 0;
};

}  // namespace zepa
