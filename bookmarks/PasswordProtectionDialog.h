#pragma once

#include "PasswordVault.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class RecordTable;
class RuntimeServices;

// "密码保护": where the key of the stored passwords lives. Choosing another place seals or
// unseals every password at once; a new primary password typed under "主密码" only rewraps the key.
// The collection's backup is made before a switch and again after it, so that no copy qavex keeps
// holds the passwords plain once they are sealed.
class PasswordProtectionDialog : public QDialog {
    Q_OBJECT
public:
    PasswordProtectionDialog(PasswordVault& vault, RecordTable& database, RuntimeServices& services,
                             QWidget* parent = nullptr);

    PasswordProtection Chosen() const;

    QRadioButton* 不保护按钮;
    QRadioButton* 密钥环按钮;
    QRadioButton* 主密码按钮;
    QLineEdit* 主密码框;
    QLineEdit* 确认密码框;
    QLabel* 说明标签;
    QPushButton* 确定按钮;
    QPushButton* 取消按钮;

private:
    void Apply();
    void ShowChoice();

    PasswordVault& m_vault;
    RecordTable& m_database;
    RuntimeServices& m_services;
    PasswordProtection m_current;
};
