#include "LegacyFile.h"

#include <QFile>

namespace {

std::optional<QByteArray> JetHead(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(0x15);
    if (head.size() < 0x15 || head.mid(4, 15) != QByteArrayLiteral("Standard Jet DB"))
        return std::nullopt;
    return head;
}

} // namespace

bool HasJetHeader(const QString& path)
{
    QFile file(path);
    return JetHead(file).has_value();
}

bool IsJetFile(const QString& path)
{
    QFile file(path);
    const std::optional<QByteArray> head = JetHead(file);
    if (!head)
        return false;
    const qint64 pageSize = head->at(0x14) == 0 ? 2048 : 4096;
    return file.size() > 0 && file.size() % pageSize == 0;
}
