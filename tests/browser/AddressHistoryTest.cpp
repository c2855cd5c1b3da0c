#include "AddressHistory.h"
#include "BrowserTexts.h"
#include "DatabaseFile.h"
#include "HistoryDialog.h"
#include "IniFile.h"
#include "RecordTable.h"
#include "ScriptedRuntimeServices.h"
#include "StorageNames.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

class AddressHistoryTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    RecordTable m_database;
    IniFile m_settings;

    QStringList Table()
    {
        QStringList addresses;
        m_database.ReadColumn(addresses, Tables::History, Columns::Address);
        return addresses;
    }

    static QStringList Entries(const QComboBox& box)
    {
        QStringList entries;
        for (int i = 0; i < box.count(); ++i)
            entries.append(box.itemText(i));
        return entries;
    }

    void Go(QComboBox& box, const QString& address)
    {
        box.setEditText(address);
        AddressHistory::RecordAddress(box, m_database, m_settings);
    }

private slots:
    void init()
    {
        m_database.Close();
        const QString path = m_dir.filePath(QStringLiteral("h%1.mdb").arg(QTest::currentTestFunction()));
        QVERIFY(CreateDatabaseFile(path));
        QVERIFY(m_database.Open(path));
        m_settings.SetPath(m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction())));
    }

    void listStartsWithTheLastStored()
    {
        for (const QString& address : {QStringLiteral("a"), QStringLiteral("b'"), QStringLiteral("c")})
            m_database.Insert(Tables::History, Columns::Address, {address});
        m_settings.Write(Settings::LastBrowserAddress, QStringLiteral("b'"));
        QComboBox box;
        box.setEditable(true);
        AddressHistory::FillAddressList(box, m_database, m_settings);
        QCOMPARE(Entries(box), (QStringList{"c", "b'", "a"}));
        QCOMPARE(box.currentText(), QStringLiteral("b'"));
    }

    void thirtyFirstAddressDropsTheFirst()
    {
        QComboBox box;
        box.setEditable(true);
        for (int i = 1; i <= 30; ++i)
            Go(box, QStringLiteral("https://site%1.cn/").arg(i));
        QCOMPARE(box.count(), 30);
        Go(box, QStringLiteral("https://new.cn/'"));
        QCOMPARE(box.count(), 30);
        QCOMPARE(box.itemText(0), QStringLiteral("https://site2.cn/"));
        QCOMPARE(box.itemText(29), QStringLiteral("https://new.cn/'"));
        QCOMPARE(box.currentText(), QStringLiteral("https://new.cn/'"));
        QCOMPARE(Table().size(), 30);
        QVERIFY(!Table().contains(QStringLiteral("https://site1.cn/")));
        QCOMPARE(m_settings.Read(Settings::LastBrowserAddress), QStringLiteral("https://new.cn/'"));
    }

    void goingAgainAddsNothingButIsSaved()
    {
        QComboBox box;
        box.setEditable(true);
        Go(box, QStringLiteral("a"));
        Go(box, QStringLiteral("b"));
        Go(box, QStringLiteral("a"));
        QCOMPARE(Entries(box), (QStringList{"a", "b"}));
        QCOMPARE(Table(), (QStringList{"a", "b"}));
        QCOMPARE(m_settings.Read(Settings::LastBrowserAddress), QStringLiteral("a"));
    }

    void historyDialogDeletesAndClears()
    {
        for (const QString& address : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})
            m_database.Insert(Tables::History, Columns::Address, {address});
        m_settings.Write(Settings::LastBrowserAddress, QStringLiteral("b"));
        ScriptedRuntimeServices services;
        auto* dialog = new HistoryDialog(m_database, m_settings.Path(), services, nullptr);
        QCOMPARE(dialog->超级列表框1->topLevelItemCount(), 3);

        dialog->按钮1->click();
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages[0].text, QStringLiteral("请在左边列表选择要删除的记录"));

        dialog->超级列表框1->topLevelItem(1)->setSelected(true);
        dialog->超级列表框1->topLevelItem(2)->setSelected(true);
        dialog->按钮1->click();
        QCOMPARE(Table(), QStringList{"a"});
        QCOMPARE(dialog->超级列表框1->topLevelItemCount(), 1);
        QCOMPARE(m_settings.Read(Settings::LastBrowserAddress), QString());

        m_settings.Write(Settings::LastBrowserAddress, QStringLiteral("a"));
        services.messageAnswers.enqueue(MessageAnswer::No);
        dialog->按钮2->click();
        QCOMPARE(services.messages[1].text, QStringLiteral("确定清空历史记录吗？"));
        QCOMPARE(Table(), QStringList{"a"});
        services.messageAnswers.enqueue(MessageAnswer::Yes);
        dialog->按钮2->click();
        QVERIFY(Table().isEmpty());
        QCOMPARE(dialog->超级列表框1->topLevelItemCount(), 0);
        QCOMPARE(m_settings.Read(Settings::LastBrowserAddress), QString());

        QPointer<HistoryDialog> open = dialog;
        dialog->show();
        dialog->按钮3->click();
        QTRY_VERIFY(!open);
    }
};

QTEST_MAIN(AddressHistoryTest)
#include "AddressHistoryTest.moc"
