#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

class IniFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString WriteFixture(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("qavex.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

    static QByteArray ReadBytes(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static QByteArray Gb18030(const QString& text) { return QStringEncoder("GB18030")(text); }

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QString>("expected");

        const QByteArray appearance = "[外观]\r\n文本颜色=255\r\n字体名称=宋体\r\n";
        QTest::newRow("plain") << appearance << "外观"
                               << "文本颜色"
                               << "1"
                               << "255";
        QTest::newRow("absent key takes default") << appearance << "外观"
                                                  << "宽度"
                                                  << "520"
                                                  << "520";
        QTest::newRow("absent key, no default") << appearance << "外观"
                                                << "字体大小" << QString() << "";
        QTest::newRow("key of another section") << appearance << "记录"
                                                << "文本颜色"
                                                << "d"
                                                << "d";
        QTest::newRow("empty value is not absent") << QByteArray("[外观]\n文本颜色=\n") << "外观"
                                                   << "文本颜色"
                                                   << "8388608"
                                                   << "";
        QTest::newRow("ascii case ignored") << QByteArray("[Install]\nPATH=/opt/rt\n") << "INSTALL"
                                            << "path"
                                            << ""
                                            << "/opt/rt";
        QTest::newRow("blanks around names and value")
            << QByteArray("  [ 记录 ]  \n  IE地址  =  http://a/  \n") << "记录"
            << "IE地址"
            << ""
            << "http://a/";
        QTest::newRow("first duplicate key wins") << QByteArray("[s]\nk=1\nk=2\n") << "s"
                                                  << "k"
                                                  << ""
                                                  << "1";
        QTest::newRow("first duplicate section only") << QByteArray("[s]\na=1\n[s]\nk=2\n") << "s"
                                                      << "k"
                                                      << "d"
                                                      << "d";
        QTest::newRow("value keeps its equals signs") << QByteArray("[s]\nk=a=b\n") << "s"
                                                      << "k"
                                                      << ""
                                                      << "a=b";
        QTest::newRow("key before any section") << QByteArray("k=1\n[s]\n") << "s"
                                                << "k"
                                                << "d"
                                                << "d";
        QTest::newRow("line without equals") << QByteArray("[s]\nk\nk2=v\n") << "s"
                                             << "k"
                                             << "d"
                                             << "d";
        QTest::newRow("comment is no key") << QByteArray("[s]\n;k=1\n") << "s"
                                           << ";k"
                                           << "d"
                                           << "d";
        QTest::newRow("utf-8 with BOM") << QByteArray("\xEF\xBB\xBF[外观]\n字体名称=黑体\n") << "外观"
                                        << "字体名称"
                                        << ""
                                        << "黑体";
        QTest::newRow("GB18030 from the Windows program")
            << Gb18030(QStringLiteral("[外观]\r\n字体名称=宋体\r\n")) << "外观"
            << "字体名称"
            << ""
            << "宋体";
        QTest::newRow("truncated last line") << QByteArray("[s]\nk=val") << "s"
                                             << "k"
                                             << ""
                                             << "val";
        QTest::newRow("truncated inside a key") << QByteArray("[s]\nk") << "s"
                                                << "k"
                                                << "d"
                                                << "d";
        QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe[\x01=\x80\x00\n\xc3", 11) << "s"
                                        << "k"
                                        << "d"
                                        << "d";
        QTest::newRow("empty file") << QByteArray() << "s"
                                    << "k"
                                    << "d"
                                    << "d";
    }

    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, defaultValue);
        QFETCH(QString, expected);
        const IniFile ini(WriteFixture(content));
        QCOMPARE(ini.Read(section, key, defaultValue), expected);
    }

    void readOfMissingFileGivesDefaults()
    {
        const IniFile ini(m_dir.filePath(QStringLiteral("none.ini")));
        QCOMPARE(ini.Read(Settings::Width), QStringLiteral("520"));
        QCOMPARE(ini.Read(Settings::CurrentCategory), QStringLiteral("-1"));
        QCOMPARE(ini.Read(Settings::FontName), QString(""));
        QVERIFY(!ini.Read(Settings::FontName).isNull());
    }

    void firstWriteCreatesTheFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("new.ini"));
        QVERIFY(IniFile(path).Write(Settings::LastBrowserAddress, QStringLiteral("https://a.cn/")));
        QCOMPARE(ReadBytes(path), QByteArray("[记录]\nIE地址=https://a.cn/\n"));
    }

    void writeKeepsEveryOtherLine_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");

        const QByteArray file =
            "; settings\r\n[外观]\r\n文本颜色=1\r\n\r\n[记录]\r\n当前分类=0\r\n\r\n[其它]\r\nx=y\r\n";
        QTest::newRow("replace in place, case ignored")
            << file << "外观"
            << "文本颜色"
            << QByteArray(
                   "; settings\r\n[外观]\r\n文本颜色=V\r\n\r\n[记录]\r\n当前分类=0\r\n\r\n[其它]\r\nx=y\r\n");
        QTest::newRow("new key after the section's last line")
            << file << "记录"
            << "IE地址"
            << QByteArray("; "
                          "settings\r\n[外观]\r\n文本颜色=1\r\n\r\n[记录]\r\n当前分类=0\r\nIE地址=V\r\n\r\n["
                          "其它]\r\nx=y\r\n");
        QTest::newRow("new section at the end")
            << file << "设置"
            << "自带浏览器"
            << QByteArray(
                   "; settings\r\n[外观]\r\n文本颜色=1\r\n\r\n[记录]\r\n当前分类=0\r\n\r\n[其它]\r\nx=y\r\n"
                   "[设置]\r\n自带浏览器=V\r\n");
        QTest::newRow("ascii case of an existing key") << QByteArray("[S]\nKey=1\n") << "s"
                                                       << "KEY" << QByteArray("[S]\nKEY=V\n");
        QTest::newRow("no newline at the end") << QByteArray("[s]\nk=1") << "s"
                                               << "k" << QByteArray("[s]\nk=V");
    }

    void writeKeepsEveryOtherLine()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        const QString path = WriteFixture(before);
        QVERIFY(IniFile(path).Write(section, key, QStringLiteral("V")));
        QCOMPARE(ReadBytes(path), after);
    }

    void writeOverGb18030FileKeepsItsText()
    {
        const QString path = WriteFixture(Gb18030(QStringLiteral("[外观]\r\n字体名称=宋体\r\n")));
        const IniFile ini(path);
        QVERIFY(ini.Write(Settings::CurrentCategory, QStringLiteral("2")));
        QCOMPARE(ini.Read(Settings::FontName), QStringLiteral("宋体"));
        QCOMPARE(ini.Read(Settings::CurrentCategory), QStringLiteral("2"));
    }

    void valueWithLineBreaksCannotForgeKeys()
    {
        const IniFile ini(WriteFixture("[外观]\n宽度=520\n"));
        QVERIFY(ini.Write(Settings::LastBrowserAddress, QStringLiteral("http://x/\n[外观]\r\n宽度=1")));
        QCOMPARE(ini.Read(Settings::Width), QStringLiteral("520"));
        QCOMPARE(ini.Read(Settings::LastBrowserAddress), QStringLiteral("http://x/ [外观]  宽度=1"));
    }

    void megabyteValueRoundTrips()
    {
        const IniFile ini(WriteFixture("[s]\na=1\n"));
        const QString big(1 << 20, u'网');
        QVERIFY(ini.Write(QStringLiteral("s"), QStringLiteral("big"), big));
        QCOMPARE(ini.Read(QStringLiteral("s"), QStringLiteral("big")), big);
        QCOMPARE(ini.Read(QStringLiteral("s"), QStringLiteral("a")), QStringLiteral("1"));
    }

    void writeLeavesNoTemporaryFiles()
    {
        QTemporaryDir dir;
        const IniFile ini(dir.filePath(QStringLiteral("qavex.ini")));
        for (int i = 0; i < 5; ++i)
            QVERIFY(ini.Write(QStringLiteral("s"), QStringLiteral("k%1").arg(i), QStringLiteral("v")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("qavex.ini")});
    }

    void unwritablePlaceMakesWriteFalse()
    {
        const QString path = m_dir.filePath(QStringLiteral("missing/dir/qavex.ini"));
        QVERIFY(!IniFile(path).Write(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!IniFile().Write(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")));
    }
};

QTEST_GUILESS_MAIN(IniFileTest)
#include "IniFileTest.moc"
