// The link thread: calls run there while the window thread handles events, each caller keeps
// the error record of its own call, and a closing monitor stops waiting on the controller.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <future>
#include <thread>

#include "link/dynamic_zel_library.h"
#include "link/fake/fake_zel_library.h"
#include "link/host_resolution.h"
#include "link/link_thread_library.h"
#include "tests/support/sim_process.h"

namespace zel {
namespace {

using C = ZelCall;

void ensureApplication() {
    static int argc = 1;
    static char name[] = "zellink_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Register 7 answers only once the test releases it, then fails with code 5; any other read
// succeeds and clears the record, as the library does.
struct HeldRead {
    explicit HeldRead(FakeZelLibrary& fake) {
        fake.setResponder(C::GetRegister, [this, &fake](const QVector<int32_t>& args) {
            if (args[1] != 7) {
                fake.setError(0, {});
                return 1;
            }
            started.set_value();
            released.wait();
            fake.setError(5, QStringLiteral("timed out"));
            return 0;
        });
    }
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
};

TEST(LinkThreadLibrary, AClosingMonitorSkipsQueuedReadsButStillClosesTheLink) {
    ensureApplication();
    FakeZelLibrary fake;
    HeldRead held(fake);
    LinkThreadLibrary link(fake);
    int32_t queuedResult = -1;
    LibErrorRecord queuedError;
    QTimer::singleShot(0, [&] {
        // Queued behind the held read once it is in hand; the close begins while it waits.
        held.started.get_future().wait();
        QTimer::singleShot(0, [&] {
            link.refuseControllerCalls();
            held.release.set_value();
        });
        int32_t value = 0;
        queuedResult = link.ZlGetRegister(1, 8, value);
        link.ZlGetErrorInfo(1, queuedError);
    });
    int32_t value = 0;
    EXPECT_EQ(link.ZlGetRegister(1, 7, value), 0);
    EXPECT_EQ(queuedResult, 0);
    EXPECT_EQ(queuedError.code, kMonitorClosingError);
    EXPECT_EQ(queuedError.text.trimmed(), QStringLiteral("ZEL Monitor is closing."));
    EXPECT_EQ(link.ZlGetRegister(1, 8, value), 0);
    EXPECT_EQ(link.ZlCloseConnection(1), 1);
    EXPECT_EQ(fake.callsTo(C::GetRegister), QStringList{QStringLiteral("ZlGetRegister(1, 7)")});
    EXPECT_EQ(fake.callsTo(C::CloseConnection).size(), 1);
}

// The real library behind the link thread, against zelsim on TCP: reads from the window thread
// with reads nested in their waits, another thread reading all along, and the simulator stopped
// and resumed part way. Each read comes back with its own register's value or with its own
// failure. Built with ThreadSanitizer (scripts/test), this is the race check of the link.
TEST(LinkThreadLibrary, TheRealLibraryServesNestedAndConcurrentReadsThroughAStop) {
    ensureApplication();
    test::SimProcess sim({"--tcp", "0"});
    qputenv("ZELCOM_TCP_PORT", QByteArray::number(sim.tcpPort()));
    DynamicZelLibrary real({QStringLiteral(ZELCOM_LIBRARY_FILE)});
    ASSERT_TRUE(real.isLoaded()) << real.loadError().toStdString();
    LinkThreadLibrary link(real);
    // Generous: a sanitized simulator on a loaded machine still answers in time.
    int32_t timeoutMs = 2000;
    const int32_t h =
        link.ZlOpenNetConnection(LinkKind::Tcp, 0, *dottedToAddress("127.0.0.1"), timeoutMs);
    ASSERT_GT(h, 0);
    ASSERT_EQ(link.ZlSetConnectionTimeout(h, timeoutMs), 1);
    for (int32_t r : {11, 12, 13}) ASSERT_EQ(link.ZlPutRegister(h, r, r * 100), 1);
    const auto readBack = [&](int32_t r) {
        int32_t value = 0;
        return link.ZlGetRegister(h, r, value) == 1 ? value : -1;
    };
    const auto lastError = [&] {
        LibErrorRecord error;
        link.ZlGetErrorInfo(h, error);
        return error.text.trimmed().toStdString();
    };

    std::atomic<bool> done = false;
    std::thread other([&] {
        while (!done) {
            const int32_t value = readBack(12);
            if (value != -1)
                EXPECT_EQ(value, 1200);
            else
                EXPECT_EQ(lastError(), "No reply from controller");
        }
    });

    EXPECT_EQ(readBack(11), 1100);

    // Stopped: the outer read waits until it fails, so the timer's reads nest in its wait; the
    // first fails too, the simulator comes back, and the next succeeds without replacing the
    // outer read's failure.
    sim.pause();
    int32_t nestedWhileStopped = 0;
    int32_t nestedAfterResume = 0;
    QTimer::singleShot(0, [&] {
        nestedWhileStopped = readBack(13);
        sim.resume();
        nestedAfterResume = readBack(13);
    });
    EXPECT_EQ(readBack(11), -1);
    EXPECT_EQ(lastError(), "No reply from controller");
    EXPECT_EQ(nestedWhileStopped, -1);
    EXPECT_EQ(nestedAfterResume, 1300);

    // Live again: the late replies to the failed reads are not taken for the new ones.
    EXPECT_EQ(readBack(11), 1100);
    EXPECT_EQ(readBack(13), 1300);
    done = true;
    other.join();
    EXPECT_EQ(link.ZlCloseConnection(h), 1);
    qunsetenv("ZELCOM_TCP_PORT");
}

}  // namespace
}  // namespace zel
