#include "SaveLoginBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

SaveLoginBar::SaveLoginBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("保存登录栏"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xD6));
    setPalette(palette);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    问题 = new QLabel(this);
    问题->setObjectName(QStringLiteral("问题"));
    详情 = new QLabel(this);
    详情->setObjectName(QStringLiteral("详情"));
    按钮_是 = new QPushButton(this);
    按钮_是->setObjectName(QStringLiteral("按钮_是"));
    按钮_否 = new QPushButton(this);
    按钮_否->setObjectName(QStringLiteral("按钮_否"));
    layout->addWidget(问题);
    layout->addWidget(详情, 1);
    layout->addWidget(按钮_是);
    layout->addWidget(按钮_否);
    connect(按钮_是, &QPushButton::clicked, this, [this] {
        hide();
        emit answered(true);
    });
    connect(按钮_否, &QPushButton::clicked, this, [this] {
        hide();
        emit answered(false);
    });
    hide();
}

void SaveLoginBar::Ask(const QString& question, const QString& detail, const QString& yes, const QString& no)
{
    问题->setText(question);
    详情->setText(detail);
    按钮_是->setText(yes);
    按钮_否->setText(no);
    show();
    raise();
}
