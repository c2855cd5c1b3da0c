#include "SafeFile.h"

#include <QSaveFile>

bool WriteFileSafely(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Writing straight into the old file when no temporary can be made would lose it on failure.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
