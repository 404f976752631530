#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int wakeSockets[2] = {-1, -1};
volatile sig_atomic_t signalPending = 0;
constexpr std::array handledSignals{SIGTERM, SIGHUP, SIGINT};

extern "C" void onTerminationSignal(int signalNumber)
{
    // A second signal while the first is still waiting for the event loop (which may
    // hang) ends the program the default way.
    if (signalPending) {
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    signalPending = 1;
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Async-signal-safe; a full socket means a wake-up is pending already.
    [[maybe_unused]] const ssize_t written = ::write(wakeSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wakeSockets) != 0)
        return;
    m_notifier = new QSocketNotifier(wakeSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : handledSignals)
        sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (int number : handledSignals)
        std::signal(number, SIG_DFL);
    delete m_notifier;
    ::close(wakeSockets[0]);
    ::close(wakeSockets[1]);
    wakeSockets[0] = wakeSockets[1] = -1;
}

void TerminationSignals::readSignal()
{
    unsigned char byte = 0;
    while (::read(wakeSockets[1], &byte, 1) == 1) {
        emit received(byte);
        signalPending = 0;
    }
}
