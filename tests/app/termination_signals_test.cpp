// SIGTERM closes the main window even while a message box waits for an answer. Each case runs
// in a process of its own, since the signal handlers are process-wide.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "app/termination_signals.h"

using namespace zel;

namespace {

// The bound is far above what closing takes, so that only a window that never closes fails.
bool closesWithinHalfAMinute(const QWidget& window) {
    QElapsedTimer clock;
    clock.start();
    while (window.isVisible() && clock.elapsed() < 30'000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return !window.isVisible();
}

}  // namespace

TEST(TerminationSignals, AnswerTheOpenBoxesAsWithEscapeThenCloseTheWindow) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // A box left open would wait for ever.
            QTimer::singleShot(60'000, [] { std::_Exit(2); });
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

TEST(TerminationSignals, CloseAWindowWithNoBoxOpen) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QWidget window;
            window.show();
            closeOnTerminationSignals(window);
            ::raise(SIGTERM);
            std::_Exit(closesWithinHalfAMinute(window) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
