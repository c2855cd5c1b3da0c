#pragma once

#include "ServerAddress.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class RuntimeServices;

// "数据库位置": the local file, or a PostgreSQL server with its address. "测试连接" connects and says
// what the server's database holds. The dialog only chooses; the main window moves the collection.
class DatabaseLocationDialog : public QDialog {
    Q_OBJECT
public:
    DatabaseLocationDialog(const ServerAddress* current, const ServerAddress& lastServer,
                           RuntimeServices& services, QWidget* parent = nullptr);

    bool ServerChosen() const;
    // The server as typed, the password included.
    ServerAddress Server() const;
    // How long a look at the server runs before its progress shows.
    void SetProgressDelay(int milliseconds) { m_progressDelayMs = milliseconds; }

    QRadioButton* 本机文件按钮;
    QRadioButton* 服务器按钮;
    QLineEdit* 主机框;
    QSpinBox* 端口框;
    QLineEdit* 数据库框;
    QLineEdit* 用户框;
    QLineEdit* 密码框;
    QPushButton* 测试连接按钮;
    QPushButton* 确定按钮;
    QPushButton* 取消按钮;

private:
    bool Complete();
    void TestConnection();
    void ShowChoice();

    RuntimeServices& m_services;
    QList<QWidget*> m_serverFields;
    int m_progressDelayMs = 500;
};
