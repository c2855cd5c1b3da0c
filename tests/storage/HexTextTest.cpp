#include "HexText.h"
#include "BuiltInTexts.h"

#include <QTest>

class HexTextTest : public QObject {
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QString>("expected");

        // The hex text is dealt: the second, fourth, … characters come first, then the first, third, …
        // "4142" (AB) is stored as "4421": its characters 2 and 4 are '4' and '1', 1 and 3 are '4' and '2'.
        QTest::newRow("two bytes") << "4421"
                                   << "AB";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("lower-case digits") << "66ba"
                                           << "jk";
        QTest::newRow("odd length: the lone last digit is a byte of its own") << "44211"
                                                                              << "AB\x01";
        QTest::newRow("pair that is not hex reads as 0 and ends the text") << "Z4412Z"
                                                                           << "A";
        QTest::newRow("hex digit then junk reads the digit") << "14GG" << QString(QChar(0x04)) + QChar(0x01);
        QTest::newRow("zero byte ends the text") << "044120"
                                                 << "A";
        QTest::newRow("UTF-8 bytes") << EncodeHexText(QStringLiteral("软件下载")) << "软件下载";
    }

    void decode()
    {
        QFETCH(QString, encoded);
        QFETCH(QString, expected);
        QCOMPARE(DecodeHexText(encoded), expected);
    }

    void scrambleRoundTrips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("one") << "q";
        QTest::newRow("even length") << "qavex网址";
        QTest::newRow("odd length") << "qavex 网址收藏";
        QTest::newRow("outside the BMP") << QString::fromUtf8("a\xF0\x9F\x98\x80z");
    }

    void scrambleRoundTrips()
    {
        QFETCH(QString, text);
        const QString scrambled = ScrambleText(text);
        if (text.size() > 2)
            QVERIFY(scrambled != text);
        QCOMPARE(UnscrambleText(scrambled), text);
    }

    void builtInTextsDecode()
    {
        QVERIFY(BuiltInTexts::StartAddress().startsWith(QStringLiteral("https://")));
        QVERIFY(BuiltInTexts::DefaultBookmarkAddress().startsWith(QStringLiteral("https://")));
        QVERIFY(!BuiltInTexts::DefaultBookmarkName().isEmpty());
        QVERIFY(BuiltInTexts::Caption().startsWith(QStringLiteral("qavex")));
    }
};

QTEST_GUILESS_MAIN(HexTextTest)
#include "HexTextTest.moc"
