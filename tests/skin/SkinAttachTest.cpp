#include "SkinAttach.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

class SkinAttachTest : public QObject {
    Q_OBJECT

private slots:
    void attachOnceThenOnlyApply()
    {
        bool engineLoaded = false;
        QVERIFY(SkinAttach(QByteArrayLiteral("no header here"), engineLoaded));
        QVERIFY(engineLoaded);
        QVERIFY(qApp->styleSheet().isEmpty());
        QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));

        // Had the engine been set up again, the style would be Fusion again.
        QApplication::setStyle(QStringLiteral("Windows"));
        const QByteArray carried = CarriedSkin();
        QVERIFY(carried.startsWith(".SHE"));
        QVERIFY(SkinAttach(carried, engineLoaded));
        QCOMPARE(qApp->styleSheet(), QString::fromUtf8(carried.mid(4)));
        qApp->setStyleSheet(QString());
        QCOMPARE(QApplication::style()->name(), QStringLiteral("windows"));

        QVERIFY(SkinAttach(carried, engineLoaded));
        QCOMPARE(qApp->styleSheet(), QString::fromUtf8(carried.mid(4)));
    }
};

QTEST_MAIN(SkinAttachTest)
#include "SkinAttachTest.moc"
