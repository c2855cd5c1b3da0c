#include "HistoryDialog.h"

#include "BrowserTexts.h"
#include "IniFile.h"
#include "RecordTable.h"
#include "RuntimeServices.h"
#include "StorageNames.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <functional>

HistoryDialog::HistoryDialog(RecordTable& database, const QString& settingsPath, RuntimeServices& services,
                             QWidget* owner)
    : QDialog(owner), m_database(database), m_settingsPath(settingsPath), m_services(services)
{
    setObjectName(QStringLiteral("HistoryDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(BrowserTexts::HistoryCaption);
    // As tall as its list: no empty strip under it. Placed by its window, centred on it.
    resize(410, 416);

    超级列表框1 = new QTreeWidget(this);
    超级列表框1->setObjectName(QStringLiteral("超级列表框1"));
    超级列表框1->setGeometry(0, 0, 320, 416);
    超级列表框1->setHeaderLabels({BrowserTexts::HistoryColumn});
    超级列表框1->setColumnWidth(0, 300);
    超级列表框1->setRootIsDecorated(false);
    超级列表框1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const auto button = [this](const QString& name, const QString& text, int top) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(326, top, 72, 32);
        return b;
    };
    按钮1 = button(QStringLiteral("按钮1"), BrowserTexts::DeleteButton, 9);
    按钮2 = button(QStringLiteral("按钮2"), BrowserTexts::ClearButton, 56);
    按钮3 = button(QStringLiteral("按钮3"), BrowserTexts::CancelButton, 120);
    connect(按钮1, &QPushButton::clicked, this, &HistoryDialog::DeleteSelected);
    connect(按钮2, &QPushButton::clicked, this, &HistoryDialog::ClearAll);
    connect(按钮3, &QPushButton::clicked, this, &QDialog::close);

    QStringList addresses;
    m_database.ReadColumn(addresses, Tables::History, Columns::Address);
    for (const QString& address : addresses)
        new QTreeWidgetItem(超级列表框1, {address});
}

void HistoryDialog::DeleteSelected()
{
    QList<int> rows;
    for (const QModelIndex& index : 超级列表框1->selectionModel()->selectedRows())
        rows.append(index.row());
    const IniFile settings(m_settingsPath);
    const QString lastAddress = settings.Read(Settings::LastBrowserAddress);
    if (rows.isEmpty()) {
        m_services.ShowMessage(BrowserTexts::SelectHistoryToDelete, MessageStyle::Ok, {}, this);
        return;
    }
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows) {
        const QString address = 超级列表框1->topLevelItem(row)->text(0);
        if (!m_database.Delete(Tables::History, QStringLiteral("地址=?"), {address}))
            continue;
        if (address == lastAddress)
            settings.Write(Settings::LastBrowserAddress, QString());
        delete 超级列表框1->takeTopLevelItem(row);
    }
}

void HistoryDialog::ClearAll()
{
    if (m_services.ShowMessage(BrowserTexts::ConfirmClearHistory, MessageStyle::YesNo, {}, this) !=
        MessageAnswer::Yes)
        return;
    if (!m_database.DeleteAll(Tables::History))
        return;
    超级列表框1->clear();
    IniFile(m_settingsPath).Write(Settings::LastBrowserAddress, QString());
}
