#include "app/termination_signals.h"

#include <signal.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

namespace zel {
namespace {

// A signal handler may only write to a descriptor; the event loop reads the other end.
int signalPipe[2] = {-1, -1};
volatile sig_atomic_t firstSignal = 0;
// Armed by the first signal; when it runs out the first signal takes its default action.
timer_t graceTimer{};
bool graceTimerMade = false;
itimerspec grace{};

// The event loop's side, on the user-interface thread only.
QPointer<QWidget> mainWindow;
bool terminating = false;

void endBySignal(int signal) {
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void onGraceOver(int) {
    endBySignal(firstSignal);
}

void onSignal(int signal) {
    if (firstSignal != 0) {
        endBySignal(signal);
        return;
    }
    firstSignal = signal;
    if (graceTimerMade) ::timer_settime(graceTimer, 0, &grace, nullptr);
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// Closes the open message boxes one at a time, each after the one above it has returned to its
// caller, then the window, if start-up has handed it over.
void closeWhenFree() {
    QWidget* box = QApplication::activeModalWidget();
    if (box && box != mainWindow && box->close()) {
        QTimer::singleShot(0, qApp, closeWhenFree);
        return;
    }
    if (mainWindow) mainWindow->close();
}

// Once a signal has come, a box that opens is answered as with Escape as soon as it shows.
class BoxAnswerer : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() && widget->isModal() &&
            widget != mainWindow)
            QTimer::singleShot(0, widget, [widget] { widget->close(); });
        return false;
    }
};

void onSignalInEventLoop() {
    char buffer[16];
    while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
    }
    if (terminating) return;
    terminating = true;
    qApp->installEventFilter(new BoxAnswerer(qApp));
    closeWhenFree();
}

}  // namespace

void watchTerminationSignals(int graceMs) {
    if (signalPipe[0] >= 0) return;
    grace.it_value.tv_sec = graceMs / 1000;
    grace.it_value.tv_nsec = (graceMs % 1000) * 1000000L;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, onSignalInEventLoop);

    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    action.sa_handler = onGraceOver;
    ::sigaction(SIGALRM, &action, nullptr);
    sigevent expiry{};
    expiry.sigev_notify = SIGEV_SIGNAL;
    expiry.sigev_signo = SIGALRM;
    graceTimerMade = ::timer_create(CLOCK_MONOTONIC, &expiry, &graceTimer) == 0;

    // While one of the two is handled the other waits, so only one can be the first.
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    action.sa_handler = onSignal;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

void closeOnTerminationSignals(QWidget& window) {
    watchTerminationSignals();
    mainWindow = &window;
    if (terminating) QTimer::singleShot(0, &window, closeWhenFree);
}

}  // namespace zel
