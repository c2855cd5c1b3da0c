#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class MainWindow;
class QWidget;

// What the main window shows, and what a user does to it, for tests.
QStringList CategoryEntries(const MainWindow& w);
QStringList TypeEntries(const MainWindow& w);
QStringList Names(const MainWindow& w);
void SelectRows(MainWindow& w, const QList<int>& rows);
void Choose(MainWindow& w, const QString& item);
void ChooseCategoryItem(MainWindow& w, const QString& item);
void Type(MainWindow& w, const QString& name, const QString& address, const QString& category,
          const QString& remark = {});
// Runs `act` on the next modal window as soon as it is open (the caller then opens it).
void WhenModal(std::function<void(QWidget*)> act);

// Chooses 取消 in every progress dialog (only those saying `label`, when given) `afterMs` after it
// shows; counts those shown.
class CancelProgressLater : public QObject {
public:
    explicit CancelProgressLater(int afterMs = 300, QString label = {});
    ~CancelProgressLater() override;
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_afterMs;
    QString m_label;
};

// Counts the turns of the event loop (a 10 ms timer) while it lives: the window was not held.
class LoopTurns : public QObject {
public:
    LoopTurns();
    int turns = 0;
};
