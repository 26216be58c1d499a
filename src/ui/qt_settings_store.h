// The settings store in a QSettings file (by default ~/.config/KAVERO/KAVERO.conf), section
// "Settings". The file holds passwords in clear text, so only its owner may read it.
#pragma once

#include <QSettings>
#include <QString>

#include "shell/settings_store.h"

namespace kavero::ui {

class QtSettingsStore : public shell::SettingsStore {
public:
    explicit QtSettingsStore(const QString& fileName);

    // Where organisation and application "KAVERO" keep their settings for this user.
    static QString defaultFileName();

    std::string read(std::string_view key, std::string_view fallback) const override;
    // Written through at once, so a refused write is known for its own key.
    bool write(std::string_view key, std::string_view value) override;

    QString fileName() const { return m_settings.fileName(); }

private:
    bool makePrivate();

    mutable QSettings m_settings;
};

} // namespace kavero::ui
