#include "WindowProbes.h"

#include "BookmarkListModel.h"
#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressDialog>
#include <QTimer>
#include <QTreeView>

QStringList CategoryEntries(const MainWindow& w)
{
    QStringList entries;
    for (int i = 0; i < w.列表框_分类->count(); ++i)
        entries.append(w.列表框_分类->item(i)->text());
    return entries;
}

QStringList TypeEntries(const MainWindow& w)
{
    QStringList entries;
    for (int i = 0; i < w.类型框->count(); ++i)
        entries.append(w.类型框->itemText(i));
    return entries;
}

QStringList Names(const MainWindow& w)
{
    QStringList names;
    for (int row = 0; row < w.Bookmarks().rowCount(); ++row)
        names.append(w.Bookmarks().Cell(row, BookmarkListModel::NameColumn));
    return names;
}

void SelectRows(MainWindow& w, const QList<int>& rows)
{
    QItemSelectionModel* selection = w.网址框->selectionModel();
    selection->clearSelection();
    for (int row : rows)
        selection->setCurrentIndex(w.Bookmarks().index(row, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

static void Trigger(QMenu* menu, const QString& item)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == item) {
            action->trigger();
            return;
        }
    }
    qFatal("no menu item %s", qPrintable(item));
}

void Choose(MainWindow& w, const QString& item)
{
    Trigger(w.操作菜单, item);
}

void ChooseCategoryItem(MainWindow& w, const QString& item)
{
    Trigger(w.分类菜单, item);
}

void Type(MainWindow& w, const QString& name, const QString& address, const QString& category,
          const QString& remark)
{
    w.网站名框->setText(name);
    w.地址框->setText(address);
    w.类型框->setCurrentText(category);
    w.备注框->setText(remark);
}

void WhenModal(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

CancelProgressLater::CancelProgressLater(int afterMs, QString label)
    : m_afterMs(afterMs), m_label(std::move(label))
{
    qApp->installEventFilter(this);
}

CancelProgressLater::~CancelProgressLater()
{
    qApp->removeEventFilter(this);
}

bool CancelProgressLater::eventFilter(QObject* watched, QEvent* event)
{
    auto* dialog = qobject_cast<QProgressDialog*>(watched);
    if (dialog && event->type() == QEvent::Show && (m_label.isEmpty() || dialog->labelText() == m_label)) {
        ++shown;
        QTimer::singleShot(m_afterMs, dialog, &QProgressDialog::cancel);
    }
    return false;
}

LoopTurns::LoopTurns()
{
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, [this] { ++turns; });
    clock->start(10);
}
