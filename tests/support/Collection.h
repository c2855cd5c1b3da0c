#pragma once

#include "MainWindow.h"
#include "ProgramGlobals.h"
#include "ScriptedRuntimeServices.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A program directory in a temporary folder, with a real database and settings file, and the main
// window started on it through scripted services.
class Collection {
public:
    struct Bookmark {
        QString name;
        QString address;
        QString category;
        QString remark;
        QString account;
    };

    Collection();
    ~Collection();

    QString Path(const QString& fileName) const;
    // A database holding these categories and bookmarks, in this order.
    void Seed(const QStringList& categories, const QList<Bookmark>& bookmarks);
    void WriteSettings(const QByteArray& content);
    // Runs statements on the database beside the program (triggers that refuse changes, say).
    void Execute(const QString& statement);
    // The first column of every row the query returns.
    QStringList Select(const QString& statement);

    MainWindow& Start();
    void Stop();

    MainWindow& window() { return *m_window; }
    ProgramGlobals& Globals() { return *m_globals; }
    ScriptedRuntimeServices services;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ProgramGlobals> m_globals;
    std::unique_ptr<MainWindow> m_window;
};
