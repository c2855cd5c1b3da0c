#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into an orderly end: every event loop, the nested ones of dialogs,
// message boxes and waits included, returns (and any started later returns at once), long work
// sees Requested() and stops, and only then, back at the top, is the window closed. Closing it
// from inside one of its own dialogs would free the dialog under its own feet.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal = {}, QObject* parent = nullptr);
    ~TerminationSignals() override;

    // Whether the process was asked to end; safe to call from any thread, at any time.
    static bool Requested();

private:
    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};
