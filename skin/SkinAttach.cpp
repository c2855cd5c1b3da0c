#include "SkinAttach.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>

namespace {

const QByteArray Header = QByteArrayLiteral(".SHE");

} // namespace

QByteArray CarriedSkin()
{
    QFile file(QStringLiteral(":/skin/qavex.she"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SkinAttach(const QByteArray& skin, bool& engineLoaded)
{
    if (!engineLoaded) {
        // One style under the sheet, the same on every desktop.
        if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
            QApplication::setStyle(fusion);
        engineLoaded = true;
    }
    if (!skin.startsWith(Header))
        return true;
    qApp->setStyleSheet(QString::fromUtf8(skin.mid(Header.size())));
    return true;
}
