#include "ElementToolWindow.h"

#include "ElementToolTexts.h"
#include "PageDocument.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWebEngineView>

namespace {

template <typename Widget>
Widget* Place(Widget* widget, const QString& name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

ElementToolWindow::ElementToolWindow(QWidget* owner, QWebEngineView* page,
                                     std::function<void()> onNothingMatched)
    : QWidget(owner, Qt::Tool), m_page(page), m_onNothingMatched(std::move(onNothingMatched))
{
    namespace T = ElementToolTexts;
    setObjectName(QStringLiteral("ElementToolWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(T::ToolCaption);
    // The designed height counted the title bar; the client ends a margin below the buttons.
    setFixedSize(358, 178);

    Place(new QLabel(T::IdentifierLabel, this), QStringLiteral("标签15"), 9, 12, 64, 24);
    元素标识框 = Place(new QLineEdit(this), QStringLiteral("元素标识框"), 73, 11, 171, 24);
    Place(new QLabel(T::ContentLabel, this), QStringLiteral("标签14"), 11, 42, 61, 24);
    内容框 = Place(new QLineEdit(this), QStringLiteral("内容框"), 72, 42, 271, 24);
    分组框1 = Place(new QGroupBox(T::TypeGroup, this), QStringLiteral("分组框1"), 8, 76, 336, 48);
    ID选择框1 = Place(new QCheckBox(T::ById, 分组框1), QStringLiteral("ID选择框1"), 8, 17, 48, 22);
    ID选择框1->setChecked(true);
    名称选择框2 = Place(new QCheckBox(T::ByName, 分组框1), QStringLiteral("名称选择框2"), 52, 17, 52, 22);
    标题选择框4 = Place(new QCheckBox(T::ByTitle, 分组框1), QStringLiteral("标题选择框4"), 104, 17, 52, 22);
    索引选择框3 = Place(new QCheckBox(T::ByIndex, 分组框1), QStringLiteral("索引选择框3"), 156, 17, 52, 22);
    地址选择框5 = Place(new QCheckBox(T::ByAddress, 分组框1), QStringLiteral("地址选择框5"), 207, 17, 52, 22);
    完全匹配选择框 =
        Place(new QCheckBox(T::Exact, 分组框1), QStringLiteral("完全匹配选择框"), 259, 16, 75, 24);
    填写表单钮 = Place(new QPushButton(T::FillForm, this), QStringLiteral("填写表单钮"), 59, 138, 65, 28);
    点击链接钮 = Place(new QPushButton(T::ClickLink, this), QStringLiteral("点击链接钮"), 154, 138, 65, 28);
    点击链接钮1 =
        Place(new QPushButton(T::ClickButton, this), QStringLiteral("点击链接钮1"), 250, 138, 65, 28);
    connect(填写表单钮, &QPushButton::clicked, this, [this] { Run(Action::Fill); });
    connect(点击链接钮, &QPushButton::clicked, this, [this] { Run(Action::ClickLink); });
    connect(点击链接钮1, &QPushButton::clicked, this, [this] { Run(Action::ClickButton); });
}

void ElementToolWindow::Run(Action action)
{
    PageDocument document;
    document.Attach(nullptr, false, m_page, true);
    const std::pair<QCheckBox*, IdentifierKind> kinds[] = {
        {ID选择框1, IdentifierKind::ById},        {名称选择框2, IdentifierKind::ByName},
        {标题选择框4, IdentifierKind::ByTitle},   {索引选择框3, IdentifierKind::ByIndex},
        {地址选择框5, IdentifierKind::ByAddress},
    };
    // One attempt per ticked type, in this order; a user trying to find out which type names the
    // element sees each that does.
    bool matched = false;
    for (const auto& [box, kind] : kinds) {
        if (!box->isChecked())
            continue;
        const QString identifier = 元素标识框->text();
        switch (action) {
        case Action::Fill:
            matched = document.SetFieldValue(identifier, kind, 内容框->text()) || matched;
            break;
        case Action::ClickLink:
            matched = document.ClickLink(identifier, kind, 完全匹配选择框->isChecked()) || matched;
            break;
        case Action::ClickButton:
            matched = document.ClickButton(identifier, kind, 完全匹配选择框->isChecked()) || matched;
            break;
        }
    }
    if (!matched && m_onNothingMatched)
        m_onNothingMatched();
}
