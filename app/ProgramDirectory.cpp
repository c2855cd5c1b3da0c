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
    // Installed as a package (the program in ../lib/qavex), the launcher's directory is the
    // system's bin, never a place for a collection, whoever may write there.
    const bool installed =
        QFileInfo::exists(QDir(executableDirectory).filePath(QStringLiteral("../lib/qavex/corvl.qrt"))) &&
        !QFileInfo::exists(QDir(executableDirectory).filePath(QStringLiteral("corvl.qrt")));
    if (executable.isDir() && executable.isWritable() && !installed)
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
