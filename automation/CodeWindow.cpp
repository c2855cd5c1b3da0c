#include "CodeWindow.h"

#include "ElementToolTexts.h"

#include <QPlainTextEdit>
#include <QTimer>

CodeWindow::CodeWindow(QWidget* owner, std::function<void()> onTick) : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("CodeWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ElementToolTexts::CodeCaption);
    resize(610, DesignedHeight);
    编辑框_信息 = new QPlainTextEdit(this);
    编辑框_信息->setObjectName(QStringLiteral("编辑框_信息"));
    编辑框_信息->setLineWrapMode(QPlainTextEdit::NoWrap);
    时钟1 = new QTimer(this);
    时钟1->setObjectName(QStringLiteral("时钟1"));
    时钟1->setInterval(100);
    connect(时钟1, &QTimer::timeout, this, std::move(onTick));
    时钟1->start();
}

QRect CodeWindow::Placement(const QRect& browser, int screenHeight, int keepVisible)
{
    const int bottom = browser.top() + browser.height();
    const int top = bottom > screenHeight - DesignedHeight ? bottom - keepVisible - DesignedHeight : bottom;
    return QRect(browser.left(), top, browser.width(), DesignedHeight);
}

void CodeWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    编辑框_信息->setGeometry(rect());
}
