#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

// A question above the page, answered when the user likes: the page goes on working meanwhile.
class SaveLoginBar : public QFrame {
    Q_OBJECT
public:
    explicit SaveLoginBar(QWidget* parent);

    void Ask(const QString& question, const QString& detail, const QString& yes, const QString& no);

    static constexpr int Height = 34;

    QLabel* 问题;
    QLabel* 详情;
    QPushButton* 按钮_是;
    QPushButton* 按钮_否;

signals:
    void answered(bool yes);
};
