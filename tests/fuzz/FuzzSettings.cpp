// Settings reader on any bytes: a file of ours, of the Windows program, or damaged.
#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qavex.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    const IniFile settings(path);
    settings.Read(QStringLiteral("外观"), QStringLiteral("宽度"));
    settings.Read(QStringLiteral("记录"), QStringLiteral("IE地址"), QStringLiteral("默认"));
    settings.Write(QStringLiteral("设置"), QStringLiteral("自带浏览器"), QStringLiteral("真"));
    return 0;
}
