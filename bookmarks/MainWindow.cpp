#include "MainWindow.h"

#include "BookmarkTexts.h"
#include "BuiltInTexts.h"
#include "DatabaseFile.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "SettingsKeys.h"

#include <QDir>

MainWindow::MainWindow(ProgramGlobals& globals, RuntimeServices& services, QWidget* parent)
    : QWidget(parent), m_globals(globals), m_services(services) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(BookmarkTexts::DesignCaption);
    setGeometry(50, 50, 520, 574);
    OnCreated();
}

MainWindow::~MainWindow() {
    OnWillBeDestroyed();
}

void MainWindow::OnCreated() {
    const QString directory = m_services.ProgramDirectory();
    m_globals.SettingsFile = QDir(directory).filePath(SettingsFileName);

    const DatabaseState state = PrepareDatabase(*m_globals.Database, directory, m_globals.Settings());
    if (state == DatabaseState::NotADatabase || state == DatabaseState::Failed) {
        // The file is left as it is; the window starts with empty lists.
        m_services.ShowMessage(BookmarkTexts::CannotOpenDatabase +
                                   QDir::toNativeSeparators(DatabasePath(directory)),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
    }

    setWindowTitle(BuiltInTexts::Caption());
}

void MainWindow::OnWillBeDestroyed() {
    m_globals.Database->Close();
    m_globals.Settings().Write(Settings::CurrentCategory, QString::number(-1));
}
