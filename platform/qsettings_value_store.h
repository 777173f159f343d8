// The per-user value store on QSettings: the registry key Software\VORNEK\ZEPA_CHART on
// Windows, the INI file $XDG_CONFIG_HOME/VORNEK/ZEPA_CHART.ini (or the platform's equivalent)
// elsewhere. Subkeys are groups, every value is a string.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "settings/value_store.h"

class QSettings;

namespace zepa {

class QSettingsValueStore final : public ValueStore {
  public:
    // The viewer's own per-user store.
    QSettingsValueStore();
    // An INI file at the given path, for tests and for tools pointed at another file.
    explicit QSettingsValueStore(const std::string& iniPath);
    ~QSettingsValueStore() override;
    QSettingsValueStore(const QSettingsValueStore&) = delete;
    QSettingsValueStore& operator=(const QSettingsValueStore&) = delete;

    bool readValue(std::string_view subkey, std::string_view name, std::string& text) override;
    // Refused when the store could not be read cleanly, so that a damaged or hand-written file
    // is never replaced by the part of it that could be understood. A file is replaced whole
    // through a temporary file, never left half-written.
    bool writeValue(std::string_view subkey, std::string_view name, std::string_view text) override;

    // The file name or registry path behind the store.
    std::string location() const;

  private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace zepa
