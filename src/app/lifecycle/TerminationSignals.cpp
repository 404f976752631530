#include "app/lifecycle/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

enum Stage : int { Waiting, Keeping, Kept };

int wakeSockets[2] = {-1, -1};
std::atomic<int> stage{Waiting};
std::atomic<int> firstSignal{0};
std::atomic<int> laterSignal{0};
constexpr std::array handledSignals{SIGTERM, SIGHUP, SIGINT};
static_assert(std::atomic<int>::is_always_lock_free, "used in a signal handler");

extern "C" void onTerminationSignal(int signalNumber)
{
    int expected = Waiting;
    if (stage.compare_exchange_strong(expected, Keeping)) {
        firstSignal.store(signalNumber);
        const int savedErrno = errno;
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        // Async-signal-safe; a full socket means a wake-up is pending already.
        [[maybe_unused]] const ssize_t written = ::write(wakeSockets[0], &byte, 1);
        errno = savedErrno;
        return;
    }
    // Ending at once now would lose what the first signal is keeping: the GUI thread
    // ends the process as soon as the work is kept.
    laterSignal.store(signalNumber);
    if (stage.load() == Kept)
        ::_exit(128 + firstSignal.load());
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wakeSockets) != 0)
        return;
    stage.store(Waiting);
    laterSignal.store(0);
    m_notifier = new QSocketNotifier(wakeSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int number : handledSignals)
        sigaddset(&action.sa_mask, number);
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
    bool woken = false;
    while (::read(wakeSockets[1], &byte, 1) == 1)
        woken = true;
    if (!woken || m_ending)
        return;
    m_ending = true;
    const int number = firstSignal.load();
    emit received(number);
    stage.store(Kept);
    if (laterSignal.load() != 0)
        ::_exit(128 + number);
    // Every running event loop returns, a start-up dialog's included.
    QCoreApplication::exit(128 + number);
}
