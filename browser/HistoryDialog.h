#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;
class RecordTable;
class RuntimeServices;
class IniFile;

// The stored addresses, to delete some or all of them.
class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    HistoryDialog(RecordTable& database, const QString& settingsPath, RuntimeServices& services,
                  QWidget* owner);

    QTreeWidget* 超级列表框1;
    QPushButton* 按钮1;
    QPushButton* 按钮2;
    QPushButton* 按钮3;

private:
    void DeleteSelected();
    void ClearAll();

    RecordTable& m_database;
    QString m_settingsPath;
    RuntimeServices& m_services;
};
