#pragma once

#include <QWidget>

class RuntimeServices;
struct ProgramGlobals;

// The start window. Constructing it runs the start sequence; destroying it saves the state and
// closes the database.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(ProgramGlobals& globals, RuntimeServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

private:
    void OnCreated();
    void OnWillBeDestroyed();

    ProgramGlobals& m_globals;
    RuntimeServices& m_services;
};
