#include "PasswordProtectionDialog.h"

#include "BookmarkTexts.h"
#include "ChoiceNotes.h"
#include "DatabaseBackup.h"
#include "MessageStyle.h"
#include "PasswordAccess.h"
#include "RuntimeServices.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace T = BookmarkTexts;

PasswordProtectionDialog::PasswordProtectionDialog(PasswordVault& vault, RecordTable& database,
                                                   RuntimeServices& services, QWidget* parent)
    : QDialog(parent), m_vault(vault), m_database(database), m_services(services),
      m_current(vault.Protection())
{
    setObjectName(QStringLiteral("密码保护"));
    setWindowTitle(T::PasswordProtectionCaption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(T::PasswordProtectionQuestion, this));
    不保护按钮 = ChoiceNotes::AddChoice(layout, this, QStringLiteral("不保护按钮"), T::NoProtection,
                                        T::NoProtectionDetail);
    密钥环按钮 = ChoiceNotes::AddChoice(layout, this, QStringLiteral("密钥环按钮"), T::KeyringProtection,
                                        T::KeyringProtectionDetail);
    主密码按钮 = ChoiceNotes::AddChoice(layout, this, QStringLiteral("主密码按钮"),
                                        T::PrimaryPasswordProtection, T::PrimaryPasswordDetail);

    auto* fields = new QFormLayout;
    fields->setContentsMargins(22, 0, 0, 0);
    主密码框 = new QLineEdit(this);
    主密码框->setObjectName(QStringLiteral("主密码框"));
    确认密码框 = new QLineEdit(this);
    确认密码框->setObjectName(QStringLiteral("确认密码框"));
    for (QLineEdit* box : {主密码框, 确认密码框})
        box->setEchoMode(QLineEdit::Password);
    fields->addRow(T::NewPrimaryPasswordField, 主密码框);
    fields->addRow(T::ConfirmPrimaryPasswordField, 确认密码框);
    layout->addLayout(fields);
    // Only changing the primary password has something to say here; its room is kept while
    // another choice hides it, so the buttons above never move under the pointer.
    说明标签 = ChoiceNotes::Note(T::ChangePrimaryPasswordHint, this);
    说明标签->setObjectName(QStringLiteral("说明标签"));
    QSizePolicy keepRoom = 说明标签->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(m_current == PasswordProtection::PrimaryPassword);
    说明标签->setSizePolicy(keepRoom);
    layout->addWidget(说明标签);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    确定按钮 = buttons->addButton(T::OkButton, QDialogButtonBox::AcceptRole);
    确定按钮->setObjectName(QStringLiteral("确定按钮"));
    取消按钮 = buttons->addButton(T::CancelButton, QDialogButtonBox::RejectRole);
    取消按钮->setObjectName(QStringLiteral("取消按钮"));
    确定按钮->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordProtectionDialog::Apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    (m_current == PasswordProtection::Keyring           ? 密钥环按钮
     : m_current == PasswordProtection::PrimaryPassword ? 主密码按钮
                                                        : 不保护按钮)
        ->setChecked(true);
    if (vault.OnlyPrimaryPassword()) {
        不保护按钮->setEnabled(false);
        密钥环按钮->setEnabled(false);
        主密码按钮->setChecked(true);
    }
    for (QRadioButton* button : {不保护按钮, 密钥环按钮, 主密码按钮})
        connect(button, &QRadioButton::toggled, this, &PasswordProtectionDialog::ShowChoice);
    ShowChoice();
    setMinimumWidth(420);
}

PasswordProtection PasswordProtectionDialog::Chosen() const
{
    if (密钥环按钮->isChecked())
        return PasswordProtection::Keyring;
    if (主密码按钮->isChecked())
        return PasswordProtection::PrimaryPassword;
    return PasswordProtection::None;
}

void PasswordProtectionDialog::ShowChoice()
{
    const bool primary = 主密码按钮->isChecked();
    主密码框->setEnabled(primary);
    确认密码框->setEnabled(primary);
    说明标签->setVisible(primary && m_current == PasswordProtection::PrimaryPassword);
}

void PasswordProtectionDialog::Apply()
{
    const PasswordProtection target = Chosen();
    const QString typed = 主密码框->text();
    const bool keepPrimary = target == PasswordProtection::PrimaryPassword &&
                             m_current == PasswordProtection::PrimaryPassword && typed.isEmpty() &&
                             确认密码框->text().isEmpty();
    if (target == m_current && (target != PasswordProtection::PrimaryPassword || keepPrimary)) {
        accept();
        return;
    }
    if (target == PasswordProtection::PrimaryPassword) {
        const QString problem = typed.isEmpty()               ? T::PrimaryPasswordMissing
                                : typed != 确认密码框->text() ? T::PrimaryPasswordsDiffer
                                                              : QString();
        if (!problem.isEmpty()) {
            m_services.ShowMessage(problem, MessageStyle::Ok | MessageStyle::ErrorIcon,
                                   T::PasswordProtectionCaption, this);
            (typed.isEmpty() ? 主密码框 : 确认密码框)->setFocus();
            return;
        }
    }
    // What is sealed now must be opened to be unsealed or moved: the current key first.
    PasswordAccess access(m_vault, m_services, this);
    if (!access.Unlock())
        return;
    const QString base = BackupBase(m_database, m_services.ProgramDirectory());
    const QString backupName = QFileInfo(BackupPath(base)).fileName();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool backedUp = BackUpDatabase(m_database, base);
    const VaultError error = backedUp ? m_vault.SwitchTo(target, typed) : VaultError::None;
    const bool sealed = target != PasswordProtection::None;
    const bool renewed =
        backedUp && error == VaultError::None && RenewBackupAfterProtectionSwitch(m_database, base, sealed);
    QApplication::restoreOverrideCursor();
    主密码框->clear();
    确认密码框->clear();
    if (!backedUp) {
        m_services.ShowMessage(T::ProtectionBackupFailed.arg(backupName),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, T::PasswordProtectionCaption,
                               this);
        return;
    }
    if (error != VaultError::None) {
        access.Tell(error, true);
        return;
    }
    const QString backupNote = renewed  ? T::ProtectionBackupRenewed
                               : sealed ? T::ProtectionBackupRemoved
                                        : T::ProtectionBackupStale;
    m_services.ShowMessage(
        T::ProtectionChanged.arg((target == PasswordProtection::Keyring           ? 密钥环按钮
                                  : target == PasswordProtection::PrimaryPassword ? 主密码按钮
                                                                                  : 不保护按钮)
                                     ->text()) +
            u'\n' + backupNote.arg(backupName),
        MessageStyle::Ok | (renewed ? MessageStyle::InformationIcon : MessageStyle::WarningIcon),
        T::PasswordProtectionCaption, this);
    accept();
}
