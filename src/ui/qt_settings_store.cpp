// QSettings behind the settings store.
#include "ui/qt_settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavero::ui {

namespace {

QString keyPath(std::string_view key) {
    return QStringLiteral("Settings/") + QString::fromUtf8(key.data(), static_cast<int>(key.size()));
}

} // namespace

QtSettingsStore::QtSettingsStore(const QString& fileName) : m_settings(fileName, QSettings::NativeFormat) {}

QString QtSettingsStore::defaultFileName() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KAVERO"), QStringLiteral("KAVERO"))
        .fileName();
}

std::string QtSettingsStore::read(std::string_view key, std::string_view fallback) const {
    const QVariant value = m_settings.value(keyPath(key));
    if (!value.isValid()) return std::string(fallback);
    // A hand-edited line with a comma reads as a list; it was one text.
    if (value.userType() == QMetaType::QStringList) return value.toStringList().join(QChar(',')).toStdString();
    return value.toString().toStdString();
}

bool QtSettingsStore::makePrivate() {
    // Create the file for its owner alone before the first value is written; QSettings
    // keeps the permissions of a file it replaces.
    const QString file = m_settings.fileName();
    const QFileInfo info(file);
    const bool newFolder = !QFileInfo::exists(info.absolutePath());
    if (!QDir().mkpath(info.absolutePath())) return false;
    // A folder made here is ours alone; an existing one (a shared temp folder) is left as it is.
    if (newFolder) ::chmod(QFile::encodeName(info.absolutePath()).constData(), S_IRWXU);
    const QByteArray path = QFile::encodeName(file);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) return false;
    ::close(fd);
    return ::chmod(path.constData(), S_IRUSR | S_IWUSR) == 0;
}

bool QtSettingsStore::write(std::string_view key, std::string_view value) {
    if (!makePrivate()) return false;
    m_settings.setValue(keyPath(key), QString::fromUtf8(value.data(), static_cast<int>(value.size())));
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

} // namespace kavero::ui
