#pragma once

#include "CheckBoxGroup.h"
#include "IdentifierKind.h"
#include "PageObject.h"
#include "SelectList.h"

#include <QJsonArray>
#include <QList>
#include <QPointer>
#include <QString>

class QWebEnginePage;
class QWebEngineView;
class QWidget;

// The document of a page shown by a browser view, and what can be done to it and its elements.
// Made for one action: attach, act, discard. Every operation answers with the empty result when
// there is nothing to act on (not attached, page closed, element missing, page not answering).
class PageDocument {
public:
    // Takes `document` when useDocument is set, else the page of the browser view in `window`.
    bool Attach(QWebEnginePage* document, bool useDocument, QWidget* window, bool useWindow);
    bool AttachToServerWindow(QWidget* window);
    // The first browser view below `parent`, in pre-order; the parent itself is not looked at.
    static QWebEngineView* FindServerWindow(QWidget* parent);
    // Appends every browser view below `parent`, in pre-order; true when the list is not empty.
    static bool FindAllServerWindows(QWidget* parent, QList<QWebEngineView*>& list);
    QWebEnginePage* Document() const { return m_document; }

    // "outerHTML" and "innerText" of the whole page, or another property of the document.
    QString GetPageText(const QString& which) const;
    bool ClickLink(const QString& identifier, IdentifierKind kind, bool exact) const;
    bool ClickButton(const QString& identifier, IdentifierKind kind, bool exact) const;
    // False when no element matched.
    bool SetFieldValue(const QString& identifier, IdentifierKind kind, const QString& value) const;
    QString GetFieldValue(const QString& identifier, IdentifierKind kind) const;
    // Replaces the page's alert, confirm, prompt and showModalDialog with functions that do nothing.
    void SuppressDialogs() const;
    static void ShellOpen(const QString& target);
    QString GetSelectionText(int asHtml) const;
    void PasteHtmlAtSelection(const QString& html) const;
    CheckBoxGroup GetCheckBoxGroup(const QString& name) const;
    RadioGroup GetRadioGroup(const QString& name) const;
    SelectList GetSelectList(const QString& identifier, IdentifierKind kind) const;
    PageObject FindElement(const QString& identifier, IdentifierKind kind) const;
    PageObject ElementFromPoint(int x, int y) const;
    QString GetInnerHtml(const PageObject& element) const;
    QString GetInnerText(const PageObject& element) const;
    QString GetOuterHtml(const PageObject& element) const;
    QString GetOuterText(const PageObject& element) const;
    int GetFrameCount() const;
    PageObject GetFrame(const QString& identifier, IdentifierKind kind) const;
    PageObject GetFrameElement(const QString& identifier, IdentifierKind kind) const;
    void Navigate(const QString& address) const;
    void WriteDocument(const QString& html) const;
    // "JScript" and "JavaScript" run in the page's own world; there is no engine for "VBScript".
    void ExecScript(const QString& code, const QString& language = QStringLiteral("VBScript")) const;
    bool FireElementEvent(const PageObject& element, const QString& eventName) const;
    void SetInnerHtml(const PageObject& element, const QString& text) const;
    void SetInnerText(const PageObject& element, const QString& text) const;
    void SetOuterHtml(const PageObject& element, const QString& text) const;
    void SetOuterText(const PageObject& element, const QString& text) const;
    void FocusElement(const PageObject& element) const;
    void SetElementVisible(const PageObject& element, bool visible) const;
    QString GetDocumentProperty(const QString& name, const QString& argument) const;
    PageObject GetForm(const QString& identifier, IdentifierKind kind) const;
    bool SubmitForm(const QString& identifier, IdentifierKind kind) const;
    PageObject ShowPopup(int left, int top, int width, int height, const QString& html,
                         int backgroundColor = 0xFFFFFF, int borderWidth = 1, int borderColor = 0xC0C0C0,
                         const PageObject& anchor = {}) const;
    void HidePopup(const PageObject& popup) const;
    // 0x00BBGGRR as RRGGBB.
    static QString ColorToHex(int color);
    PageObject GetElementsByTag(const QString& tagName) const;

private:
    QJsonValue Call(const QString& operation, const QJsonArray& args = {}) const;
    PageObject CallForObject(const QString& operation, const QJsonArray& args) const;
    // An object of another page (or of none) is not handed to this one.
    bool Owns(const PageObject& object) const;
    QString ElementText(const PageObject& element, const QString& property) const;
    void SetElementText(const PageObject& element, const QString& property, const QString& text) const;

    QPointer<QWebEnginePage> m_document;
};
