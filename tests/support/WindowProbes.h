#pragma once

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
