// The Windows program's database, read through the reader process: whatever the bytes do to the
// reader, the program gets rows or nothing.
#include "LegacyReader.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    ReadLegacyTables(path);
    return 0;
}
