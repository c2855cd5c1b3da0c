#include "PageDocument.h"

#include "PageBridge.h"
#include "TextNumber.h"

#include <QDesktopServices>
#include <QJsonObject>
#include <QUrl>
#include <QWebEngineView>

namespace {

int Kind(IdentifierKind kind)
{
    return int(kind);
}

// Positions are parsed here, once, the same way everywhere: leading digits, else 0.
int Index(const QString& identifier)
{
    return TextToInteger(identifier);
}

QWebEngineView* FindViews(QWidget* parent, QList<QWebEngineView*>* all)
{
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget)
            continue;
        if (auto* view = qobject_cast<QWebEngineView*>(widget)) {
            if (!all)
                return view;
            all->append(view);
        }
        if (QWebEngineView* found = FindViews(widget, all))
            return found;
    }
    return nullptr;
}

} // namespace

bool PageDocument::Attach(QWebEnginePage* document, bool useDocument, QWidget* window, bool useWindow)
{
    if (useDocument) {
        m_document = document;
        return m_document != nullptr;
    }
    if (useWindow)
        return AttachToServerWindow(window);
    return false;
}

bool PageDocument::AttachToServerWindow(QWidget* window)
{
    if (!window)
        return false;
    auto* view = qobject_cast<QWebEngineView*>(window);
    if (!view)
        view = FindServerWindow(window);
    if (!view)
        return false;
    m_document = view->page();
    return m_document != nullptr;
}

QWebEngineView* PageDocument::FindServerWindow(QWidget* parent)
{
    return parent ? FindViews(parent, nullptr) : nullptr;
}

bool PageDocument::FindAllServerWindows(QWidget* parent, QList<QWebEngineView*>& list)
{
    if (parent)
        FindViews(parent, &list);
    return !list.isEmpty();
}

QJsonValue PageDocument::Call(const QString& operation, const QJsonArray& args) const
{
    return PageBridge::Call(m_document, operation, args);
}

PageObject PageDocument::CallForObject(const QString& operation, const QJsonArray& args) const
{
    const QJsonValue handle = Call(operation, args);
    if (!handle.isObject())
        return {};
    return {m_document, handle};
}

bool PageDocument::Owns(const PageObject& object) const
{
    return !object.IsEmpty() && object.page == m_document;
}

QString PageDocument::GetPageText(const QString& which) const
{
    return Call(QStringLiteral("pageText"), {which}).toString();
}

bool PageDocument::ClickLink(const QString& identifier, IdentifierKind kind, bool exact) const
{
    return Call(QStringLiteral("clickLink"), {identifier, Kind(kind), exact, Index(identifier)}).toBool();
}

bool PageDocument::ClickButton(const QString& identifier, IdentifierKind kind, bool exact) const
{
    return Call(QStringLiteral("clickButton"), {identifier, Kind(kind), exact, Index(identifier)}).toBool();
}

bool PageDocument::SetFieldValue(const QString& identifier, IdentifierKind kind, const QString& value) const
{
    return Call(QStringLiteral("setFieldValue"), {identifier, Kind(kind), value}).toBool();
}

QString PageDocument::GetFieldValue(const QString& identifier, IdentifierKind kind) const
{
    return Call(QStringLiteral("getFieldValue"), {identifier, Kind(kind)}).toString();
}

void PageDocument::SuppressDialogs() const
{
    PageBridge::RunInMainWorld(m_document, QStringLiteral("window.alert = function () {};"
                                                          "window.confirm = function () {};"
                                                          "window.prompt = function () {};"
                                                          "window.showModalDialog = function () {};"));
}

void PageDocument::ShellOpen(const QString& target)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

QString PageDocument::GetSelectionText(int asHtml) const
{
    return Call(QStringLiteral("selectionText"), {asHtml}).toString();
}

void PageDocument::PasteHtmlAtSelection(const QString& html) const
{
    Call(QStringLiteral("pasteHtml"), {html});
}

CheckBoxGroup PageDocument::GetCheckBoxGroup(const QString& name) const
{
    CheckBoxGroup group;
    group.AttachElements(CallForObject(QStringLiteral("group"), {name}));
    return group;
}

RadioGroup PageDocument::GetRadioGroup(const QString& name) const
{
    RadioGroup group;
    group.AttachElements(CallForObject(QStringLiteral("group"), {name}));
    return group;
}

SelectList PageDocument::GetSelectList(const QString& identifier, IdentifierKind kind) const
{
    SelectList list;
    list.AttachList(CallForObject(QStringLiteral("selectList"), {identifier, Kind(kind), Index(identifier)}));
    return list;
}

PageObject PageDocument::FindElement(const QString& identifier, IdentifierKind kind) const
{
    return CallForObject(QStringLiteral("findElement"), {identifier, Kind(kind)});
}

PageObject PageDocument::ElementFromPoint(int x, int y) const
{
    return CallForObject(QStringLiteral("elementFromPoint"), {x, y});
}

QString PageDocument::ElementText(const PageObject& element, const QString& property) const
{
    if (!Owns(element))
        return {};
    return Call(QStringLiteral("elementText"), {element.handle, property}).toString();
}

void PageDocument::SetElementText(const PageObject& element, const QString& property,
                                  const QString& text) const
{
    if (Owns(element))
        Call(QStringLiteral("setElementText"), {element.handle, property, text});
}

QString PageDocument::GetInnerHtml(const PageObject& element) const
{
    return ElementText(element, QStringLiteral("innerHTML"));
}

QString PageDocument::GetInnerText(const PageObject& element) const
{
    return ElementText(element, QStringLiteral("innerText"));
}

QString PageDocument::GetOuterHtml(const PageObject& element) const
{
    return ElementText(element, QStringLiteral("outerHTML"));
}

QString PageDocument::GetOuterText(const PageObject& element) const
{
    return ElementText(element, QStringLiteral("outerText"));
}

void PageDocument::SetInnerHtml(const PageObject& element, const QString& text) const
{
    SetElementText(element, QStringLiteral("innerHTML"), text);
}

void PageDocument::SetInnerText(const PageObject& element, const QString& text) const
{
    SetElementText(element, QStringLiteral("innerText"), text);
}

void PageDocument::SetOuterHtml(const PageObject& element, const QString& text) const
{
    SetElementText(element, QStringLiteral("outerHTML"), text);
}

void PageDocument::SetOuterText(const PageObject& element, const QString& text) const
{
    SetElementText(element, QStringLiteral("outerText"), text);
}

int PageDocument::GetFrameCount() const
{
    return Call(QStringLiteral("frameCount")).toInt();
}

PageObject PageDocument::GetFrame(const QString& identifier, IdentifierKind kind) const
{
    return CallForObject(QStringLiteral("frame"), {identifier, Kind(kind), Index(identifier)});
}

PageObject PageDocument::GetFrameElement(const QString& identifier, IdentifierKind kind) const
{
    return CallForObject(QStringLiteral("frameElement"), {identifier, Kind(kind), Index(identifier)});
}

void PageDocument::Navigate(const QString& address) const
{
    Call(QStringLiteral("navigate"), {address});
}

void PageDocument::WriteDocument(const QString& html) const
{
    Call(QStringLiteral("writeDocument"), {html});
}

void PageDocument::ExecScript(const QString& code, const QString& language) const
{
    if (language.compare(QStringLiteral("JScript"), Qt::CaseInsensitive) == 0 ||
        language.compare(QStringLiteral("JavaScript"), Qt::CaseInsensitive) == 0)
        PageBridge::RunInMainWorld(m_document, code);
}

bool PageDocument::FireElementEvent(const PageObject& element, const QString& eventName) const
{
    return Owns(element) && Call(QStringLiteral("fireEvent"), {element.handle, eventName}).toBool();
}

void PageDocument::FocusElement(const PageObject& element) const
{
    if (Owns(element))
        Call(QStringLiteral("focus"), {element.handle});
}

void PageDocument::SetElementVisible(const PageObject& element, bool visible) const
{
    if (Owns(element))
        Call(QStringLiteral("setVisible"), {element.handle, visible});
}

QString PageDocument::GetDocumentProperty(const QString& name, const QString& argument) const
{
    return Call(QStringLiteral("documentProperty"), {name, argument}).toString();
}

PageObject PageDocument::GetForm(const QString& identifier, IdentifierKind kind) const
{
    return CallForObject(QStringLiteral("form"), {identifier, Kind(kind), Index(identifier)});
}

bool PageDocument::SubmitForm(const QString& identifier, IdentifierKind kind) const
{
    return Call(QStringLiteral("submitForm"), {identifier, Kind(kind), Index(identifier)}).toBool();
}

PageObject PageDocument::ShowPopup(int left, int top, int width, int height, const QString& html,
                                   int backgroundColor, int borderWidth, int borderColor,
                                   const PageObject& anchor) const
{
    const QString border = QStringLiteral("solid #%1 %2px").arg(ColorToHex(borderColor)).arg(borderWidth);
    return CallForObject(QStringLiteral("showPopup"),
                         {left, top, width, height, html, ColorToHex(backgroundColor), border,
                          Owns(anchor) ? anchor.handle : QJsonValue()});
}

void PageDocument::HidePopup(const PageObject& popup) const
{
    if (Owns(popup))
        Call(QStringLiteral("hidePopup"), {popup.handle});
}

QString PageDocument::ColorToHex(int color)
{
    QString hex;
    for (int shift = 0; shift < 24; shift += 8)
        hex += QStringLiteral("%1").arg((unsigned(color) >> shift) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    return hex;
}

PageObject PageDocument::GetElementsByTag(const QString& tagName) const
{
    return CallForObject(QStringLiteral("elementsByTag"), {tagName});
}
