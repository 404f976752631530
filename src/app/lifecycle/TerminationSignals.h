#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C) into a signal
// on the GUI thread, so that the program can keep the user's work before it ends, then
// ends every event loop with 128 + the signal's number. The handler itself only writes a
// byte to a socket that wakes the event loop. Signals that come while the work is being
// kept (a logout sends SIGTERM and SIGHUP together) wait for it; once it is kept, any
// further signal ends the process at once. One instance per process.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    // Puts the default handlers back.
    ~TerminationSignals() override;

    // Whether the handlers are in place (the socket pair could be made).
    bool isActive() const { return m_notifier != nullptr; }
    // Whether the program is ending because of a signal: start-up opens nothing more.
    bool isEnding() const { return m_ending; }

signals:
    // Connect what keeps the work, directly: the program ends when this returns.
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    bool m_ending = false;
};
