#include "host/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pdehost {

bool loadSettings(const QString& path, rx::PrintSettings& settings, QString* error)
{
    if (!QFileInfo::exists(path))
        return true;
    std::string why;
    if (!settings.readFile(QFile::encodeName(path).toStdString(), &why)) {
        *error = QStringLiteral("cannot read print settings %1: %2").arg(path, QString::fromStdString(why));
        return false;
    }
    return true;
}

bool settingsFolderExists(const QString& path, QString* error)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (folder.isDir())
        return true;
    *error = QStringLiteral("cannot keep print settings in %1: no folder %2").arg(path, folder.filePath());
    return false;
}

bool storeSettings(const QString& path, const rx::PrintSettings& settings, QString* error)
{
    const QString dir = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(dir)) {
        if (!QDir().mkpath(dir)) {
            *error = QStringLiteral("cannot create %1").arg(dir);
            return false;
        }
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    if (!settings.writeFile(QFile::encodeName(path).toStdString())) {
        *error = QStringLiteral("cannot write print settings %1").arg(path);
        return false;
    }
    return true;
}

}  // namespace pdehost
