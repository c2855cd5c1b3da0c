#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class LauncherTest : public QObject {
    Q_OBJECT

private slots:
    void launch_data()
    {
        QTest::addColumn<QString>("beside");
        QTest::addColumn<QString>("development");
        QTest::addColumn<QString>("configuredPath");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("releasedBeforeMessage");
        const QString ok = QStringLiteral(LIB_OK_BESIDE), dev = QStringLiteral(LIB_OK_DEV);
        QTest::newRow("no library anywhere") << ""
                                             << ""
                                             << "" << 255 << "" << false;
        QTest::newRow("library without GetNewSock") << LIB_NO_SOCK << ""
                                                    << "" << 255 << "" << true;
        QTest::newRow("handshake refused") << LIB_REFUSE << ""
                                           << "" << 255 << "" << true;
        QTest::newRow("development path") << "" << dev << "{dev}" << 0 << "dev 2" << false;
        QTest::newRow("development path with slash") << "" << dev << "{dev}/" << 0 << "dev 2" << false;
        QTest::newRow("configured, but no library there") << ""
                                                          << ""
                                                          << "{dev}" << 255 << "" << false;
        QTest::newRow("the library beside wins") << ok << dev << "{dev}" << 0 << "beside 2" << false;
    }

    void launch()
    {
        QFETCH(QString, beside);
        QFETCH(QString, development);
        QFETCH(QString, configuredPath);
        QFETCH(int, exitCode);
        QFETCH(QString, mark);
        QFETCH(bool, releasedBeforeMessage);

        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("app/qavex"));
        QDir(dir.path()).mkpath(QStringLiteral("app"));
        QDir(dir.path()).mkpath(QStringLiteral("dev"));
        QVERIFY(QFile::copy(QStringLiteral(LAUNCHER), program));
        if (!beside.isEmpty())
            QVERIFY(QFile::copy(beside, dir.filePath(QStringLiteral("app/corvl.qrt"))));
        if (!development.isEmpty())
            QVERIFY(QFile::copy(development, dir.filePath(QStringLiteral("dev/corvl.qlb"))));
        if (!configuredPath.isEmpty()) {
            QDir(dir.path()).mkpath(QStringLiteral("config/Norvane"));
            QFile config(dir.filePath(QStringLiteral("config/Norvane/Qvr.conf")));
            QVERIFY(config.open(QIODevice::WriteOnly));
            config.write("; development installation\n[install]\nPATH = " +
                         QString(configuredPath)
                             .replace(QStringLiteral("{dev}"), dir.filePath(QStringLiteral("dev")))
                             .toUtf8() +
                         "\n");
        }

        QProcess launcher;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("QAVEX_TEST_MARK"), dir.filePath(QStringLiteral("mark")));
        environment.remove(QStringLiteral("DISPLAY"));
        launcher.setProcessEnvironment(environment);
        launcher.start(program, {QStringLiteral("--an-argument")});
        QVERIFY(launcher.waitForFinished(20000));
        QCOMPARE(launcher.exitCode(), exitCode);

        QFile markFile(dir.filePath(QStringLiteral("mark")));
        QCOMPARE(markFile.open(QIODevice::ReadOnly) ? QString::fromUtf8(markFile.readAll()) : QString(),
                 mark);
        const QString errors = QString::fromUtf8(launcher.readAllStandardError());
        const qsizetype message = errors.indexOf(
            QStringLiteral("Error: Not found the kernel library or the kernel library is invalid!"));
        QCOMPARE(message >= 0, exitCode != 0);
        if (releasedBeforeMessage) {
            const qsizetype unloaded = errors.indexOf(QStringLiteral("unloaded"));
            QVERIFY(unloaded >= 0 && unloaded < message);
        }
    }
};

QTEST_GUILESS_MAIN(LauncherTest)
#include "LauncherTest.moc"
