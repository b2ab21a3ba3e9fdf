// SIGTERM closes the main window even while a message box waits for an answer, or one opens
// later. Each case runs in a process of its own, since the signal handlers are process-wide; the
// grace period is made long, so only the ordinary close can end a case.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "app/termination_signals.h"

using namespace zel;

namespace {

constexpr int kLongGraceMs = 60000;

// The bound is far above what closing takes, so that only a window that never closes fails.
bool closesWithinHalfAMinute(const QWidget& window) {
    QElapsedTimer clock;
    clock.start();
    while (window.isVisible() && clock.elapsed() < 30'000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return !window.isVisible();
}

// A main window whose close reports, in a box, that its settings could not be saved.
class WindowThatAsksOnClose : public QWidget {
public:
    QMessageBox::StandardButton answer = QMessageBox::NoButton;

protected:
    void closeEvent(QCloseEvent*) override {
        answer = QMessageBox::warning(this, QStringLiteral("t"), QStringLiteral("Cannot WRITE"));
    }
};

}  // namespace

TEST(TerminationSignals, AnswerTheOpenBoxesAsWithEscapeThenCloseTheWindow) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // A box left open would wait for ever.
            QTimer::singleShot(60'000, [] { std::_Exit(2); });
            watchTerminationSignals(kLongGraceMs);
            QWidget window;
            window.show();
            closeOnTerminationSignals(window);
            QMessageBox::StandardButton inner = QMessageBox::NoButton;
            // A box that opens a second one: both must return before the window closes.
            QTimer::singleShot(0, [&] {
                QTimer::singleShot(50, [] { ::raise(SIGTERM); });
                inner = QMessageBox::warning(&window, QStringLiteral("t"), QStringLiteral("Inner"));
            });
            const auto outer =
                QMessageBox::question(&window, QStringLiteral("t"), QStringLiteral("Go on?"));
            const bool stillOpenAfterBoxes = window.isVisible();
            std::_Exit(outer == QMessageBox::No && inner == QMessageBox::Ok &&
                               stillOpenAfterBoxes && closesWithinHalfAMinute(window)
                           ? 0
                           : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Boxes that open after the signal, as a shutdown's reports do, are answered as they show.
TEST(TerminationSignals, ABoxOpenedAfterTheSignalIsAnswered) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QTimer::singleShot(60'000, [] { std::_Exit(2); });
            watchTerminationSignals(kLongGraceMs);
            WindowThatAsksOnClose window;
            window.show();
            closeOnTerminationSignals(window);
            ::raise(SIGTERM);
            std::_Exit(closesWithinHalfAMinute(window) && window.answer == QMessageBox::Ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// During start-up the signal answers the boxes, and the window is closed as soon as it is
// handed over.
TEST(TerminationSignals, ASignalDuringStartUpClosesTheWindowOnceShown) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QTimer::singleShot(60'000, [] { std::_Exit(2); });
            watchTerminationSignals(kLongGraceMs);
            QTimer::singleShot(0, [] { ::raise(SIGTERM); });
            const auto answer =
                QMessageBox::question(nullptr, QStringLiteral("t"), QStringLiteral("Go on?"));
            QWidget window;
            window.show();
            closeOnTerminationSignals(window);
            std::_Exit(answer == QMessageBox::No && closesWithinHalfAMinute(window) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Without an ordinary close, the grace period ends the process by the signal itself.
TEST(TerminationSignals, AHungCloseIsEndedByTheSignal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            watchTerminationSignals(100);
            ::raise(SIGTERM);
            for (;;) ::pause();
        },
        ::testing::KilledBySignal(SIGTERM), "");
}
