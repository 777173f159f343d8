#include "platform/qsettings_value_store.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace zepa {
namespace {

QString keyOf(std::string_view subkey, std::string_view name) {
    QString key = QString::fromUtf8(subkey.data(), static_cast<qsizetype>(subkey.size()));
    key += QLatin1Char('/');
    key += QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return key;
}

std::unique_ptr<QSettings> prepared(std::unique_ptr<QSettings> settings) {
    // Only the user's own values count: no organisation-wide or system-wide fallbacks.
    settings->setFallbacksEnabled(false);
    // Reads the store now, every group included (they are parsed lazily), so that status()
    // tells whether all of it could be read.
    settings->sync();
    (void)settings->allKeys();
    return settings;
}

}  // namespace

QSettingsValueStore::QSettingsValueStore()
    : settings_(prepared(std::make_unique<QSettings>(
#ifdef Q_OS_WIN
          QSettings::NativeFormat,
#else
          QSettings::IniFormat,
#endif
          QSettings::UserScope, QStringLiteral("VORNEK"), QStringLiteral("ZEPA_CHART")))) {
}

QSettingsValueStore::QSettingsValueStore(const std::string& iniPath)
    : settings_(prepared(
          std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat))) {}

QSettingsValueStore::~QSettingsValueStore() = default;

bool QSettingsValueStore::readValue(std::string_view subkey, std::string_view name,
                                    std::string& text) {
    const QVariant value = settings_->value(keyOf(subkey, name));
    if (!value.isValid()) {
        return false;
    }
    // A hand-edited INI line with unquoted commas comes back as a list: joined, it is the
    // text the user wrote.
    if (value.typeId() == QMetaType::QStringList) {
        text = value.toStringList().join(QLatin1Char(',')).toStdString();
    } else {
        text = value.toString().toStdString();
    }
    return true;
}

bool QSettingsValueStore::writeValue(std::string_view subkey, std::string_view name,
                                     std::string_view text) {
    if (settings_->status() != QSettings::NoError) {
        return false;
    }
    settings_->setValue(keyOf(subkey, name),
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

std::string QSettingsValueStore::location() const {
    return settings_->fileName().toStdString();
}

}  // namespace zepa
