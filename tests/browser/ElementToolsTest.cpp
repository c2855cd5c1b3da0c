#include "BrowserWindow.h"
#include "CodeWindow.h"
#include "Collection.h"
#include "ElementToolWindow.h"
#include "HotKeyTable.h"
#include "LoopbackServer.h"
#include "PageDocument.h"
#include "WebFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

class ElementToolsTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { WebFixture::PrepareEngine(); }

private:
    LoopbackServer m_server{QStringLiteral(QAVEX_TEST_PAGES)};
    std::unique_ptr<Collection> m_collection;
    QPointer<BrowserWindow> m_browser;

    QString Log()
    {
        PageDocument document;
        document.Attach(nullptr, false, m_browser->网页框, true);
        return document.GetInnerText(document.FindElement(QStringLiteral("log"), IdentifierKind::ById));
    }

    void PointAt(const QPoint& onPage)
    {
        m_collection->services.mousePosition = m_browser->网页框->mapToGlobal(onPage);
    }

private slots:
    void initTestCase()
    {
        m_collection = std::make_unique<Collection>();
        m_collection->Seed({}, {});
        m_collection->WriteSettings(QStringLiteral("[记录]\nIE地址=%1\n")
                                        .arg(m_server.Address(QStringLiteral("/tools.html")))
                                        .toUtf8());
        m_collection->Start();
        m_browser =
            new BrowserWindow(m_collection->window(), m_collection->Globals(), m_collection->services);
        m_browser->show();
        QTRY_COMPARE_WITH_TIMEOUT(m_browser->ReadyState(), 4, 10000);
        QTRY_COMPARE(m_browser->windowTitle(), QStringLiteral("工具"));
    }

    void cleanupTestCase()
    {
        delete m_browser.data();
        m_collection.reset();
    }

    void browserRegistersControlL()
    {
        const QList<HotKeyTable::Entry>& entries = m_collection->Globals().ElementHotkey->Entries();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].name, QStringLiteral("取元素"));
    }

    void codeWindowPlacement_data()
    {
        QTest::addColumn<int>("spare");
        QTest::addColumn<int>("top");
        // Browser from 50 to 830 on a screen 930 or 1130 high; its lower 30 px stay uncovered.
        QTest::newRow("100 px to spare: over the browser's lower part, above its status bar")
            << 100 << 830 - 30 - 185;
        QTest::newRow("300 px to spare: just below it") << 300 << 830;
    }

    void codeWindowPlacement()
    {
        QFETCH(int, spare);
        QFETCH(int, top);
        QCOMPARE(CodeWindow::Placement(QRect(40, 50, 700, 780), 830 + spare, 30), QRect(40, top, 700, 185));
    }

    void captureShowsTheElementUnderTheMouse()
    {
        PointAt(QPoint(-1, 10));
        m_browser->CaptureElement();
        QVERIFY(!m_browser->OpenedCodeWindow());

        PointAt(QPoint(10, 10));
        m_browser->CaptureElement();
        QVERIFY(m_browser->OpenedCodeWindow());
        QCOMPARE(m_browser->OpenedCodeWindow()->编辑框_信息->toPlainText(),
                 QStringLiteral("<div id=\"corner\">角落</div>"));
        QVERIFY(!m_collection->Globals().CapturedElement->IsEmpty());

        // Opening it again changes neither its place nor its text.
        const QRect placed = m_browser->OpenedCodeWindow()->geometry();
        m_browser->OpenCodeWindow();
        QCOMPARE(m_browser->OpenedCodeWindow()->geometry(), placed);
        QCOMPARE(m_browser->OpenedCodeWindow()->编辑框_信息->toPlainText(),
                 QStringLiteral("<div id=\"corner\">角落</div>"));
    }

    void statusBarFollowsTheMouseWhileTheCodeWindowIsOpen()
    {
        m_browser->OpenCodeWindow();
        PointAt(QPoint(0, 0));
        QTRY_COMPARE(m_browser->StatusPart(1), QStringLiteral("x:0"));
        QCOMPARE(m_browser->StatusPart(2), QStringLiteral("y:0"));
        PointAt(QPoint(-1, 5));
        QTest::qWait(250);
        QCOMPARE(m_browser->StatusPart(1), QStringLiteral("x:0"));
        PointAt(QPoint(120, 45));
        QTRY_COMPARE(m_browser->StatusPart(1), QStringLiteral("x:120"));
        QCOMPARE(m_browser->StatusPart(2), QStringLiteral("y:45"));
    }

    void viewSourceShowsThePage()
    {
        m_browser->ViewSource();
        const QString source = m_browser->OpenedCodeWindow()->编辑框_信息->toPlainText();
        QVERIFY(source.startsWith(QStringLiteral("<html>")));
        QVERIFY(source.contains(QStringLiteral("角落")));
    }

    void elementToolTriesEachTickedType()
    {
        m_browser->OpenElementTool();
        ElementToolWindow* tool = m_browser->OpenedElementTool();
        QVERIFY(tool->ID选择框1->isChecked());
        tool->元素标识框->setText(QStringLiteral("dual"));
        tool->名称选择框2->setChecked(true);
        tool->点击链接钮1->click();
        QCOMPARE(Log(), QStringLiteral("id;name;"));

        tool->ID选择框1->setChecked(false);
        tool->名称选择框2->setChecked(false);
        tool->点击链接钮1->click();
        tool->点击链接钮->click();
        QCOMPARE(Log(), QStringLiteral("id;name;"));

        // With no type ticked nothing can match, and the user hears so.
        QCOMPARE(m_collection->services.messages.size(), 2);
        m_collection->services.messages.clear();

        tool->ID选择框1->setChecked(true);
        tool->元素标识框->setText(QStringLiteral("field"));
        tool->内容框->setText(QStringLiteral("手动"));
        tool->填写表单钮->click();
        PageDocument document;
        document.Attach(nullptr, false, m_browser->网页框, true);
        QCOMPARE(document.GetFieldValue(QStringLiteral("field"), IdentifierKind::ById),
                 QStringLiteral("手动"));
        QVERIFY(m_collection->services.messages.isEmpty());

        // An identifier that names nothing is said, for each of the three actions.
        tool->元素标识框->setText(QStringLiteral("no-such-element"));
        for (QPushButton* button : {tool->填写表单钮, tool->点击链接钮, tool->点击链接钮1})
            button->click();
        QCOMPARE(m_collection->services.messages.size(), 3);
        for (const auto& message : m_collection->services.messages)
            QCOMPARE(message.text, QStringLiteral("没有找到与此标识匹配的元素"));
        m_collection->services.messages.clear();
    }
};

QTEST_MAIN(ElementToolsTest)
#include "ElementToolsTest.moc"
