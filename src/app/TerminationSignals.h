#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C) into a signal
// on the GUI thread, so that the program can keep the user's work before it ends. The
// handler itself only writes a byte to a socket that wakes the event loop; everything
// else happens there; a second signal before the event loop took the first ends the
// program at once. One instance per process.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    // Puts the default handlers back.
    ~TerminationSignals() override;

    // Whether the handlers are in place (the socket pair could be made).
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
