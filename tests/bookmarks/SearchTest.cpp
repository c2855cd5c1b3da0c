#include "BookmarkListModel.h"
#include "Collection.h"
#include "WindowProbes.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void findByPartOfNameOrAddress_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        const QString byName = QStringLiteral("在名称中查找...");
        const QString byAddress = QStringLiteral("在地址中查找...");
        QTest::newRow("percent is a percent") << byName << "%" << QStringList{"100%好"};
        QTest::newRow("underscore is an underscore") << byName << "a_b" << QStringList{"a_b"};
        QTest::newRow("quote") << byName << "O'N" << QStringList{"O'Neil"};
        QTest::newRow("ascii case ignored") << byName << "abc" << QStringList{"ABC站", "abc"};
        QTest::newRow("empty text lists all")
            << byName << "" << QStringList{"100%好", "a_b", "axb", "O'Neil", "ABC站", "abc"};
        QTest::newRow("nothing found") << byName << "无此名" << QStringList{};
        QTest::newRow("NUL taken literally") << byName << QStringLiteral("abc") + QChar(0) << QStringList{};
        QTest::newRow("address, middle") << byAddress << "example" << QStringList{"a_b", "axb"};
        QTest::newRow("address, start") << byAddress << "ftp:" << QStringList{"O'Neil"};
        QTest::newRow("address, end") << byAddress << ".net/" << QStringList{"abc"};
    }

    void findByPartOfNameOrAddress()
    {
        QFETCH(QString, item);
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        Collection c;
        c.Seed({QStringLiteral("甲"), QStringLiteral("乙")},
               {{QStringLiteral("100%好"), QStringLiteral("https://a.cn/"), QStringLiteral("甲"), {}, {}},
                {QStringLiteral("a_b"),
                 QStringLiteral("https://www.example.cn/x"),
                 QStringLiteral("甲"),
                 {},
                 {}},
                {QStringLiteral("axb"), QStringLiteral("https://example.org/"), QStringLiteral("乙"), {}, {}},
                {QStringLiteral("O'Neil"),
                 QStringLiteral("ftp://o.cn/"),
                 QStringLiteral("乙"),
                 {},
                 QStringLiteral("on")},
                {QStringLiteral("ABC站"), QStringLiteral("https://b.cn/"), QStringLiteral("乙"), {}, {}},
                {QStringLiteral("abc"), QStringLiteral("http://c.net/"), QStringLiteral("乙"), {}, {}}});
        c.WriteSettings("[记录]\n当前分类=1\n");
        MainWindow& w = c.Start();
        c.services.inputAnswers.enqueue(text);
        Choose(w, item);
        QCOMPARE(Names(w), names);
        QCOMPARE(w.SelectedCategoryRow(), 1);
        for (int row = 0; row < w.Bookmarks().rowCount(); ++row)
            QCOMPARE(w.Bookmarks().RowAt(row).hasLogin, names[row] == QStringLiteral("O'Neil"));
        // Only an empty result is said: it must not look like an empty collection.
        QCOMPARE(c.services.messages.size(), names.isEmpty() ? 1 : 0);
        if (names.isEmpty())
            QCOMPARE(c.services.messages[0].text, QStringLiteral("没有找到符合条件的网址"));
    }

    void choosingTheSelectedCategoryEndsTheSearch_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("click") << false;
        QTest::newRow("Enter") << true;
    }

    void choosingTheSelectedCategoryEndsTheSearch()
    {
        QFETCH(bool, byKeyboard);
        Collection c;
        c.Seed({QStringLiteral("甲"), QStringLiteral("乙")},
               {{QStringLiteral("一"), QStringLiteral("https://a.cn/"), QStringLiteral("甲"), {}, {}},
                {QStringLiteral("二"), QStringLiteral("https://b.cn/"), QStringLiteral("乙"), {}, {}}});
        c.WriteSettings("[记录]\n当前分类=0\n");
        MainWindow& w = c.Start();
        w.show();
        c.services.inputAnswers.enqueue(QStringLiteral("二"));
        Choose(w, QStringLiteral("在名称中查找..."));
        QCOMPARE(Names(w), QStringList{"二"});

        QListWidget* list = w.列表框_分类;
        if (byKeyboard) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0)).center());
        }
        QCOMPARE(w.SelectedCategoryRow(), 0);
        QCOMPARE(Names(w), QStringList{"一"});
    }

    void cancelledSearchKeepsTheList()
    {
        Collection c;
        MainWindow& w = c.Start();
        Choose(w, QStringLiteral("在地址中查找..."));
        QCOMPARE(c.services.inputPrompts, QStringList{"输入要查找的网址。可为网址部分内容。"});
        QCOMPARE(w.Bookmarks().rowCount(), 1);
    }

    // Bulk imports and clearing set the index aside and make it again: searches after them see
    // exactly what is stored.
    void searchFollowsBulkChanges()
    {
        Collection c;
        MainWindow& w = c.Start();
        c.services.inputAnswers.enqueue(QStringLiteral("腾讯"));
        Choose(w, QStringLiteral("在名称中查找..."));
        QCOMPARE(Names(w), QStringList{"腾讯软件中心"});

        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("many.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 1500; ++i)
            file.write(QStringLiteral("导入站%1|https://i%1.cn/|导入|\r\n").arg(i).toUtf8());
        file.close();
        c.services.fileAnswers.enqueue(file.fileName());
        Choose(w, QStringLiteral("导入数据"));
        c.services.inputAnswers.enqueue(QStringLiteral("导入站149"));
        Choose(w, QStringLiteral("在名称中查找..."));
        QCOMPARE(Names(w).size(), 11); // 149 and 1490–1499
        c.services.inputAnswers.enqueue(QStringLiteral("腾讯"));
        Choose(w, QStringLiteral("在名称中查找..."));
        QCOMPARE(Names(w), QStringList{"腾讯软件中心"});

        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(w, QStringLiteral("清空数据"));
        c.services.inputAnswers.enqueue(QStringLiteral("导入站"));
        Choose(w, QStringLiteral("在名称中查找..."));
        QCOMPARE(Names(w), QStringList());
        Type(w, QStringLiteral("新导入站"), QStringLiteral("https://n.cn/"), QStringLiteral("新"));
        w.按钮1->click();
        c.services.inputAnswers.enqueue(QStringLiteral("导入站"));
        Choose(w, QStringLiteral("在名称中查找..."));
        QCOMPARE(Names(w), QStringList{"新导入站"});
    }
};

QTEST_MAIN(SearchTest)
#include "SearchTest.moc"
