#include "ProgramDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ChooseProgramDirectory(const QString& executableDirectory)
{
    const QFileInfo executable(executableDirectory);
    if (executable.isDir() && executable.isWritable())
        return executable.absoluteFilePath();

    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString directory = QDir(dataHome).filePath(QStringLiteral("qavex"));
    QDir().mkpath(directory);
    return directory;
}
