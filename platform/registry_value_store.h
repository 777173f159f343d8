// The per-user value store in the Windows registry: the key
// HKEY_CURRENT_USER\Software\VORNEK\ZEPA_CHART, a subkey per group ("CHART", "MENU"), every value a
// REG_SZ string; another program sharing the key reads what this one wrote.
#pragma once

#include <string>
#include <string_view>

#include "settings/value_store.h"

namespace zepa {

class RegistryValueStore final : public ValueStore {
  public:
    // The viewer's own key.
    RegistryValueStore();
    // Another key under HKEY_CURRENT_USER (for tests), e.g. "Software\\VORNEK\\TEST".
    explicit RegistryValueStore(std::wstring keyPath);

    // Values are UTF-8 here and UTF-16 in the registry; a value of another type counts as
    // missing.
    bool readValue(std::string_view subkey, std::string_view name, std::string& text) override;
    bool writeValue(std::string_view subkey, std::string_view name, std::string_view text) override;

    const std::wstring& keyPath() const { return keyPath_; }

  private:
    std::wstring keyPath_;
};

}  // namespace zepa
