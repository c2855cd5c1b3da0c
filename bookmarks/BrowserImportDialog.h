#pragma once

#include "BrowserProfiles.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// Lists the browsers' profiles with their bookmark counts; the ticked ones are to be imported.
class BrowserImportDialog : public QDialog {
    Q_OBJECT
public:
    BrowserImportDialog(QList<BrowserProfile> profiles, QWidget* owner);

    QList<BrowserProfile> ChosenProfiles() const;

    QListWidget* 列表框_浏览器;
    QPushButton* 按钮_导入;
    QPushButton* 按钮_取消;

private:
    QList<BrowserProfile> m_profiles;
};
