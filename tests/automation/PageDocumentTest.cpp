#include "PageDocument.h"
#include "CheckBoxGroup.h"
#include "SelectList.h"
#include "WebFixture.h"

#include <QTest>
#include <QWebEngineView>

namespace {

QString PagePath(const char* file)
{
    return QStringLiteral(QAVEX_TEST_PAGES "/") + QLatin1String(file);
}

using K = IdentifierKind;

} // namespace

class PageDocumentTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { WebFixture::PrepareEngine(); }

private:
    std::unique_ptr<WebFixture> m_web;

    PageDocument Document()
    {
        PageDocument document;
        document.Attach(nullptr, false, m_web->View(), true);
        return document;
    }

private slots:
    void initTestCase() { m_web = std::make_unique<WebFixture>(); }
    void cleanupTestCase() { m_web.reset(); }
    void init() { QVERIFY(m_web->Load(PagePath("elements.html"))); }

    void attachFindsTheViewBelowAWindow()
    {
        QWidget window;
        QWidget inner(&window);
        QWebEngineView first(&inner);
        QWebEngineView second(&window);
        QCOMPARE(PageDocument::FindServerWindow(&window), &first);
        QCOMPARE(PageDocument::FindServerWindow(&first), nullptr);
        QList<QWebEngineView*> all{m_web->View()};
        QVERIFY(PageDocument::FindAllServerWindows(&window, all));
        QCOMPARE(all, (QList<QWebEngineView*>{m_web->View(), &first, &second}));
        // Nothing below: the list keeps what it held, and holding something is success.
        QList<QWebEngineView*> held{m_web->View()};
        QVERIFY(PageDocument::FindAllServerWindows(&second, held));
        QCOMPARE(held.size(), 1);

        PageDocument unattached;
        QVERIFY(!unattached.Attach(nullptr, false, nullptr, true));
        QVERIFY(!unattached.Attach(nullptr, false, m_web->View(), false));
        QVERIFY(!unattached.ClickLink(QStringLiteral("1"), K::ByIndex, false));
        QCOMPARE(unattached.GetPageText(QStringLiteral("title")), QString());
        QVERIFY(PageDocument().Attach(nullptr, false, m_web->View(), true));
    }

    void pageText()
    {
        PageDocument d = Document();
        QCOMPARE(d.GetPageText(QStringLiteral("title")), QStringLiteral("元素"));
        QVERIFY(d.GetPageText(QStringLiteral("outerHTML")).startsWith(QStringLiteral("<html>")));
        QVERIFY(d.GetPageText(QStringLiteral("innerText")).contains(QStringLiteral("Third Link")));
        // Another spelling is another document property: there is none of that name.
        QCOMPARE(d.GetPageText(QStringLiteral("OUTERHTML")), QString());
    }

    void clicks_data()
    {
        QTest::addColumn<bool>("button");
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<bool>("clicked");
        QTest::addColumn<QString>("log");
        const int id = int(K::ById), name = int(K::ByName), index = int(K::ByIndex), title = int(K::ByTitle),
                  address = int(K::ByAddress);
        QTest::newRow("button by index counts button-like inputs only")
            << true << "2" << index << false << true << "go;";
        QTest::newRow("button index beyond the buttons") << true << "9" << index << false << false << "";
        QTest::newRow("button index that is no number") << true << "x" << index << false << false << "";
        QTest::newRow("button title contained, case ignored")
            << true << "log" << title << false << true << "login;";
        QTest::newRow("button title exact") << true << "log" << title << true << false << "";
        QTest::newRow("button title exact, whole caption")
            << true << "Login" << title << true << true << "login;";
        QTest::newRow("button address: image inputs only")
            << true << "img.png" << address << false << true << "image;";
        QTest::newRow("button by id: any element")
            << true << "realbutton" << id << false << true << "realbutton;";
        QTest::newRow("link by index counts anchors without address")
            << false << "1" << index << false << true << "a1;";
        QTest::newRow("link by index 2") << false << "2" << index << false << true << "a2;";
        QTest::newRow("link index 0") << false << "0" << index << false << false << "";
        QTest::newRow("link title with blanks around, exact")
            << false << "two" << title << true << false << "";
        QTest::newRow("link title with blanks around, contained")
            << false << "two" << title << false << true << "a2;";
        QTest::newRow("link title, case ignored") << false << "third link" << title << false << true << "a3;";
        QTest::newRow("link address") << false << "example.invalid" << address << false << true << "a3;";
        QTest::newRow("link by id clicks a division") << false << "box" << id << false << true << "div;";
        QTest::newRow("link by name") << false << "agree" << name << false << true << "checkbox;";
        QTest::newRow("empty identifier names nothing") << false << "" << title << false << false << "";
        QTest::newRow("empty identifier, button") << true << "" << title << false << false << "";
        QTest::newRow("unknown kind") << false << "1" << 9 << false << false << "";
    }

    void clicks()
    {
        QFETCH(bool, button);
        QFETCH(QString, identifier);
        QFETCH(int, kind);
        QFETCH(bool, exact);
        QFETCH(bool, clicked);
        QFETCH(QString, log);
        PageDocument d = Document();
        const bool result = button ? d.ClickButton(identifier, IdentifierKind(kind), exact)
                                   : d.ClickLink(identifier, IdentifierKind(kind), exact);
        QCOMPARE(result, clicked);
        QCOMPARE(m_web->Log(), log);
    }

    void fieldValues()
    {
        PageDocument d = Document();
        d.SetFieldValue(QStringLiteral("user"), K::ById, QStringLiteral("张三"));
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.getElementById('user').value")).toString(),
                 QStringLiteral("张三"));
        QCOMPARE(d.GetFieldValue(QStringLiteral("user"), K::ByName), QStringLiteral("张三"));
        d.SetFieldValue(QString(), K::ById, QStringLiteral("x"));
        d.SetFieldValue(QStringLiteral("missing"), K::ById, QStringLiteral("x"));
        QCOMPARE(d.GetFieldValue(QStringLiteral("missing"), K::ById), QString());
        QCOMPARE(
            m_web->Evaluate(QStringLiteral("document.querySelectorAll('input[value=\"x\"]').length")).toInt(),
            0);
    }

    void pageThatListensForInputSeesTheValue()
    {
        PageDocument d = Document();
        d.SetFieldValue(QStringLiteral("framework"), K::ById, QStringLiteral("typed"));
        QVERIFY(d.ClickButton(QStringLiteral("send"), K::ById, false));
        QCOMPARE(m_web->Log(), QStringLiteral("state=typed;"));
    }

    void hostileTextReachesThePageUnchanged()
    {
        PageDocument d = Document();
        const QString id = QStringLiteral("q\"u'o\\te</script>\n换行");
        QCOMPARE(d.GetInnerText(d.FindElement(id, K::ById)), QStringLiteral("target"));
        const QString value = QStringLiteral("'); alert(1); //\"\\ </script>\u2028\u2029\n\t值");
        d.SetFieldValue(QStringLiteral("hostile-field"), K::ById, value);
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.getElementById('hostile-field').value")).toString(),
                 QString(value).replace(u'\n', QString()));
        QCOMPARE(d.GetFieldValue(QStringLiteral("hostile-field"), K::ById), QString(value).remove(u'\n'));
    }

    void elementsByNameAndTheirTexts()
    {
        PageDocument d = Document();
        const PageObject first = d.FindElement(QStringLiteral("triple"), K::ByName);
        QCOMPARE(d.GetOuterHtml(first), QStringLiteral("<span name=\"triple\">first</span>"));
        d.SetInnerHtml(first, QStringLiteral("<b>新</b>"));
        QCOMPARE(d.GetInnerText(first), QStringLiteral("新"));
        QVERIFY(d.FindElement(QString(), K::ById).IsEmpty());
        QVERIFY(d.FindElement(QStringLiteral("nobody"), K::ByName).IsEmpty());

        // After the page is loaded again, what was taken from it leads nowhere.
        QVERIFY(m_web->Load(PagePath("elements.html")));
        QCOMPARE(Document().GetInnerText(first), QString());
    }

    void visibility()
    {
        PageDocument d = Document();
        const PageObject secret = d.FindElement(QStringLiteral("secret"), K::ById);
        d.SetElementVisible(secret, false);
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.getElementById('secret').type")).toString(),
                 QStringLiteral("hidden"));
        d.SetElementVisible(secret, true);
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.getElementById('secret').type")).toString(),
                 QStringLiteral("text"));
        const PageObject box = d.FindElement(QStringLiteral("box"), K::ById);
        d.SetElementVisible(box, false);
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.getElementById('box').style.display")).toString(),
                 QStringLiteral("none"));
        d.SetElementVisible(box, true);
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.getElementById('box').style.display")).toString(),
                 QStringLiteral("block"));
    }

    void formsMatchCaseSensitively()
    {
        PageDocument d = Document();
        QVERIFY(d.GetForm(QStringLiteral("Login"), K::ByName).IsEmpty());
        QVERIFY(!d.GetForm(QStringLiteral("login"), K::ByName).IsEmpty());
        QVERIFY(d.GetForm(QStringLiteral("loginform"), K::ById).IsEmpty());
        QVERIFY(!d.SubmitForm(QStringLiteral("5"), K::ByIndex));
        QVERIFY(d.SubmitForm(QStringLiteral("LoginForm"), K::ById));
        QCOMPARE(m_web->Log(), QStringLiteral(""));
        QVERIFY(!d.SubmitForm(QStringLiteral("1"), K::ByTitle));
    }

    void checkBoxes()
    {
        PageDocument d = Document();
        const CheckBoxGroup fruit = d.GetCheckBoxGroup(QStringLiteral("fruit"));
        QCOMPARE(fruit.GetCount(), 3);
        QVERIFY(fruit.IsChecked(2));
        QVERIFY(!fruit.IsChecked(1));
        QVERIFY(!fruit.IsChecked(0));
        fruit.Check(1);
        fruit.Uncheck(2);
        QVERIFY(fruit.IsChecked(1));
        QVERIFY(!fruit.IsChecked(2));
        QCOMPARE(fruit.GetValue(3), QStringLiteral("c"));
        QCOMPARE(fruit.GetValue(0), QString());
        QCOMPARE(fruit.GetValue(4), QString());
        QCOMPARE(d.GetRadioGroup(QStringLiteral("nothing")).GetCount(), 0);
    }

    void selectLists()
    {
        PageDocument d = Document();
        const SelectList city = d.GetSelectList(QStringLiteral("City"), K::ByName);
        QCOMPARE(city.GetCount(), 3);
        QCOMPARE(city.GetSelectedIndex(), 1);
        QCOMPARE(city.GetOptionText(1), QStringLiteral("北京"));
        QCOMPARE(city.GetOptionValue(3), QStringLiteral("gz"));
        QCOMPARE(city.GetOptionText(4), QString());
        city.SetSelectedIndex(city.GetSelectedIndex());
        QCOMPARE(city.GetSelectedIndex(), 0);
        city.SetOptionText(2, QStringLiteral("深圳"));
        QCOMPARE(d.GetSelectList(QStringLiteral("citylist"), K::ById).GetOptionText(2),
                 QStringLiteral("深圳"));
        QCOMPARE(d.GetSelectList(QStringLiteral("empty"), K::ByName).GetCount(), 0);
        QCOMPARE(d.GetSelectList(QStringLiteral("nothing"), K::ByName).GetCount(), 0);
        QCOMPARE(d.GetSelectList(QStringLiteral("2"), K::ByIndex).GetCount(), 0);
    }

    void frames_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("found");
        QTest::newRow("name, case ignored") << "MainFrame" << int(K::ByName) << true;
        QTest::newRow("id, case ignored") << "f1" << int(K::ById) << true;
        QTest::newRow("index 2") << "2" << int(K::ByIndex) << true;
        QTest::newRow("index 0") << "0" << int(K::ByIndex) << false;
        QTest::newRow("index -1") << "-1" << int(K::ByIndex) << false;
        QTest::newRow("index 3") << "3" << int(K::ByIndex) << false;
        QTest::newRow("index no number") << "x" << int(K::ByIndex) << false;
        QTest::newRow("title is no frame kind") << "mainframe" << int(K::ByTitle) << false;
    }

    void frames()
    {
        QFETCH(QString, identifier);
        QFETCH(int, kind);
        QFETCH(bool, found);
        QVERIFY(m_web->Load(PagePath("frames.html")));
        PageDocument d = Document();
        QCOMPARE(d.GetFrameCount(), 2);
        QCOMPARE(!d.GetFrame(identifier, IdentifierKind(kind)).IsEmpty(), found);
        const PageObject element = d.GetFrameElement(identifier, IdentifierKind(kind));
        QCOMPARE(d.GetOuterHtml(element).startsWith(QStringLiteral("<iframe")), found);
    }

    void scriptsAndDialogs()
    {
        PageDocument d = Document();
        d.ExecScript(QStringLiteral("document.title = 'vb'"));
        QCOMPARE(d.GetPageText(QStringLiteral("title")), QStringLiteral("元素"));
        d.ExecScript(QStringLiteral("window.fromPage = 42; document.title = 'js'"),
                     QStringLiteral("JScript"));
        QCOMPARE(d.GetPageText(QStringLiteral("title")), QStringLiteral("js"));
        QCOMPARE(m_web->Evaluate(QStringLiteral("window.fromPage")).toInt(), 42);
        d.SuppressDialogs();
        QCOMPARE(m_web->Evaluate(QStringLiteral("String(window.alert('x'))")).toString(),
                 QStringLiteral("undefined"));
        QCOMPARE(m_web->Evaluate(QStringLiteral("window.alert.toString().includes('native')")).toBool(),
                 false);
    }

    void popupAndDocumentWrites()
    {
        PageDocument d = Document();
        const PageObject popup = d.ShowPopup(10, 20, 100, 50, QStringLiteral("<i>提示</i>"));
        QCOMPARE(d.GetInnerHtml(popup), QStringLiteral("<i>提示</i>"));
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.body.lastElementChild.style.border")).toString(),
                 QStringLiteral("1px solid rgb(192, 192, 192)"));
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.body.lastElementChild.style.backgroundColor"))
                     .toString(),
                 QStringLiteral("rgb(255, 255, 255)"));
        d.HidePopup(popup);
        QCOMPARE(m_web->Evaluate(QStringLiteral("document.body.lastElementChild.style.display")).toString(),
                 QStringLiteral("none"));
        QCOMPARE(d.GetDocumentProperty(QStringLiteral("queryCommandSupported"), QStringLiteral("bold")),
                 QStringLiteral("true"));
        QVERIFY(!d.GetElementsByTag(QStringLiteral("a")).IsEmpty());
        d.WriteDocument(QStringLiteral("<title>写</title><p>new</p>"));
        QCOMPARE(d.GetPageText(QStringLiteral("title")), QStringLiteral("写"));
    }

    void colorToHex_data()
    {
        QTest::addColumn<int>("color");
        QTest::addColumn<QString>("hex");
        QTest::newRow("red 40 green 80 blue C0") << 0xC08040 << "4080C0";
        QTest::newRow("10") << 10 << "0A0000";
        QTest::newRow("white") << 0xFFFFFF << "FFFFFF";
        QTest::newRow("black") << 0 << "000000";
    }

    void colorToHex()
    {
        QFETCH(int, color);
        QFETCH(QString, hex);
        QCOMPARE(PageDocument::ColorToHex(color), hex);
    }

    void storedDigitToKind()
    {
        QCOMPARE(KindFromStoredDigit(QStringLiteral("0")), K::ById);
        QCOMPARE(KindFromStoredDigit(QStringLiteral("1")), K::ByName);
        QCOMPARE(KindFromStoredDigit(QStringLiteral("2")), K::ByTitle);
        QCOMPARE(KindFromStoredDigit(QStringLiteral("3")), K::ByIndex);
        QCOMPARE(KindFromStoredDigit(QStringLiteral("4")), K::ByAddress);
        QCOMPARE(KindFromStoredDigit(QStringLiteral("5")), std::nullopt);
        QCOMPARE(KindFromStoredDigit(QString()), std::nullopt);
    }
};

QTEST_MAIN(PageDocumentTest)
#include "PageDocumentTest.moc"
