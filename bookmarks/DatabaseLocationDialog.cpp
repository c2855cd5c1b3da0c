#include "DatabaseLocationDialog.h"

#include "FailureExplanation.h"

#include "BookmarkTexts.h"
#include "ChoiceNotes.h"
#include "MessageStyle.h"
#include "RecordTable.h"
#include "RuntimeServices.h"
#include "ServerLook.h"
#include "ServerSchema.h"
#include "StorageNames.h"
#include "WorkProgress.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace T = BookmarkTexts;

DatabaseLocationDialog::DatabaseLocationDialog(const ServerAddress* current, const ServerAddress& lastServer,
                                               RuntimeServices& services, QWidget* parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("数据库位置"));
    setWindowTitle(T::DatabaseLocationCaption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(T::DatabaseLocationQuestion, this));
    本机文件按钮 = ChoiceNotes::AddChoice(layout, this, QStringLiteral("本机文件按钮"), T::LocalFileLocation,
                                          T::LocalFileDetail);
    服务器按钮 = ChoiceNotes::AddChoice(layout, this, QStringLiteral("服务器按钮"), T::ServerLocation,
                                        T::ServerDetail);

    const ServerAddress& shown = current ? *current : lastServer;
    auto* fields = new QFormLayout;
    fields->setContentsMargins(22, 0, 0, 0);
    const auto field = [&](const QString& name, const QString& label, const QString& text) {
        auto* box = new QLineEdit(text, this);
        box->setObjectName(name);
        fields->addRow(label, box);
        m_serverFields.append(box);
        return box;
    };
    主机框 = field(QStringLiteral("主机框"), T::ServerHostField, shown.host);
    端口框 = new QSpinBox(this);
    端口框->setObjectName(QStringLiteral("端口框"));
    端口框->setRange(1, 65535);
    端口框->setValue(shown.port);
    fields->addRow(T::ServerPortField, 端口框);
    m_serverFields.append(端口框);
    数据库框 = field(QStringLiteral("数据库框"), T::ServerDatabaseField, shown.database);
    用户框 = field(QStringLiteral("用户框"), T::ServerUserField, shown.user);
    密码框 = field(QStringLiteral("密码框"), T::ServerPasswordField, {});
    密码框->setEchoMode(QLineEdit::Password);
    fields->addRow(QString(), ChoiceNotes::Note(T::ServerPasswordNote, this));
    layout->addLayout(fields);

    auto* row = new QHBoxLayout;
    测试连接按钮 = new QPushButton(T::TestConnectionButton, this);
    测试连接按钮->setObjectName(QStringLiteral("测试连接按钮"));
    测试连接按钮->setAutoDefault(false);
    m_serverFields.append(测试连接按钮);
    row->addWidget(测试连接按钮);
    row->addStretch();
    auto* buttons = new QDialogButtonBox(this);
    确定按钮 = buttons->addButton(T::OkButton, QDialogButtonBox::AcceptRole);
    确定按钮->setObjectName(QStringLiteral("确定按钮"));
    取消按钮 = buttons->addButton(T::CancelButton, QDialogButtonBox::RejectRole);
    取消按钮->setObjectName(QStringLiteral("取消按钮"));
    确定按钮->setDefault(true);
    row->addWidget(buttons);
    layout->addLayout(row);
    connect(测试连接按钮, &QPushButton::clicked, this, &DatabaseLocationDialog::TestConnection);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Complete())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    (current ? 服务器按钮 : 本机文件按钮)->setChecked(true);
    for (QRadioButton* button : {本机文件按钮, 服务器按钮})
        connect(button, &QRadioButton::toggled, this, &DatabaseLocationDialog::ShowChoice);
    ShowChoice();
    setMinimumWidth(440);
}

bool DatabaseLocationDialog::ServerChosen() const
{
    return 服务器按钮->isChecked();
}

ServerAddress DatabaseLocationDialog::Server() const
{
    ServerAddress server;
    server.host = 主机框->text().trimmed();
    server.port = 端口框->value();
    server.database = 数据库框->text().trimmed();
    server.user = 用户框->text().trimmed();
    server.password = 密码框->text();
    return server;
}

void DatabaseLocationDialog::ShowChoice()
{
    for (QWidget* widget : std::as_const(m_serverFields))
        widget->setEnabled(服务器按钮->isChecked());
}

bool DatabaseLocationDialog::Complete()
{
    if (!ServerChosen())
        return true;
    const ServerAddress server = Server();
    if (!server.host.isEmpty() && !server.database.isEmpty() && !server.user.isEmpty())
        return true;
    m_services.ShowMessage(T::MissingServerFields, MessageStyle::Ok | MessageStyle::WarningIcon, {}, this);
    (server.host.isEmpty() ? 主机框 : server.database.isEmpty() ? 数据库框 : 用户框)->setFocus();
    return false;
}

void DatabaseLocationDialog::TestConnection()
{
    if (!Complete())
        return;
    // The look runs beside the window: a server that never answers shows progress and takes 取消.
    WorkProgress progress(this, T::ConnectingToServer, m_progressDelayMs);
    const std::optional<ServerLook> look = progress.RunAsideStoppable<ServerLook>(
        [server = Server()](const std::atomic<bool>& stop) { return LookAtServer(server, &stop); });
    if (!look)
        return;
    QString text;
    int icon = MessageStyle::InformationIcon;
    if (!look->reached) {
        text = FailureExplanation::Server(T::CannotReachServer, look->error);
        icon = MessageStyle::ErrorIcon;
    } else if (look->holds == ServerLook::Holds::Collection) {
        text = T::ServerHoldsCollection.arg(look->bookmarks);
    } else if (look->holds == ServerLook::Holds::Nothing) {
        text = T::ServerIsEmpty;
    } else {
        text = T::ServerHoldsOtherTables;
        icon = MessageStyle::WarningIcon;
    }
    m_services.ShowMessage(text, MessageStyle::Ok | icon, T::DatabaseLocationCaption, this);
}
