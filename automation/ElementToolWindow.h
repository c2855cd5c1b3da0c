#pragma once

#include "IdentifierKind.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWebEngineView;

// Fills a field or clicks a link or button of the page by the identifier typed here, trying each
// ticked identifier type in turn: how a user finds the identifiers a login needs.
class ElementToolWindow : public QWidget {
    Q_OBJECT
public:
    // onNothingMatched: told when no ticked type named an element.
    ElementToolWindow(QWidget* owner, QWebEngineView* page, std::function<void()> onNothingMatched = {});

    QLineEdit* 元素标识框;
    QLineEdit* 内容框;
    QGroupBox* 分组框1;
    QCheckBox* ID选择框1;
    QCheckBox* 名称选择框2;
    QCheckBox* 标题选择框4;
    QCheckBox* 索引选择框3;
    QCheckBox* 地址选择框5;
    QCheckBox* 完全匹配选择框;
    QPushButton* 填写表单钮;
    QPushButton* 点击链接钮;
    QPushButton* 点击链接钮1;

private:
    enum class Action { Fill, ClickLink, ClickButton };
    void Run(Action action);

    QPointer<QWebEngineView> m_page;
    std::function<void()> m_onNothingMatched;
};
