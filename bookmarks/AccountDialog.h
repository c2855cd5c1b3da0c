#pragma once

#include "BookmarkRecord.h"

#include <QDialog>

class MainWindow;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QToolButton;

// A bookmark together with its login data: account, password, the identifiers of the page
// fields that receive them and of the control that submits the login. While it is open, the row
// chosen in the main window's list is loaded here.
class AccountDialog : public QDialog {
    Q_OBJECT
public:
    explicit AccountDialog(MainWindow& mainWindow);

    // Loads the bookmark of the main window's current row, when there is one.
    void Refill();
    BookmarkRecord Entered() const;

    QFrame* 外形框1;
    QLineEdit* 站名框;
    QLineEdit* 地址框;
    QComboBox* 类型框;
    QLineEdit* 备注框;
    QLineEdit* 账号框;
    QLineEdit* 密码框;
    QToolButton* 显示密码;
    QLineEdit* 账号标识框;
    QLineEdit* 密码标识框;
    QComboBox* 标识类型框;
    QLineEdit* 按钮标识框;
    QComboBox* 标识类型框1;
    QComboBox* 控件类型框;
    QPushButton* 按钮3;
    QPushButton* 按钮1;

private:
    void CreateControls();
    void Add();
    void Modify();
    void ShowPassword(const QString& stored);

    MainWindow& m_mainWindow;
    // The password shown could not be opened: 修改 leaves the stored one as it is.
    bool m_passwordUnopened = false;
    // Asked once while the dialog is open; choosing another row does not ask again.
    bool m_unlockRefused = false;
};
