#include "ProgramDirectory.h"

#include "SettingsKeys.h"
#include "StorageNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString ChooseProgramDirectory(const QString& executableDirectory, QString* copiedFrom)
{
    const QFileInfo executable(executableDirectory);
    if (executable.isDir() && executable.isWritable())
        return executable.absoluteFilePath();

    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString directory = QDir(dataHome).filePath(QStringLiteral("qavex"));
    QDir().mkpath(directory);

    // A collection left beside a program that can no longer write there (installed read-only, a
    // mounted medium) is the user's: it comes along instead of an empty one starting silently.
    const QDir beside(executableDirectory);
    const QString database = beside.filePath(DatabaseFileName);
    const QString target = QDir(directory).filePath(DatabaseFileName);
    if (QFileInfo(database).isFile() && !QFileInfo::exists(target) && QFile::copy(database, target)) {
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QString settings = beside.filePath(SettingsFileName);
        if (QFileInfo(settings).isFile() && !QFileInfo::exists(QDir(directory).filePath(SettingsFileName)))
            QFile::copy(settings, QDir(directory).filePath(SettingsFileName));
        if (copiedFrom)
            *copiedFrom = executable.absoluteFilePath();
    }
    return directory;
}
