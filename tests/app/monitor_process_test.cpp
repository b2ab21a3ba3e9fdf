// The zelmon program as a user starts it: over a terminal without a display.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class MonitorProcess : public ::testing::Test {
protected:
    void TearDown() override {
        monitor.kill();
        monitor.waitForFinished();
    }

    // Settings, state and runtime folders of its own; a display only when asked for.
    void start(const QStringList& arguments, bool display) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
        if (display) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"})
            env.insert(QString::fromLatin1(name), dir.filePath(QString::fromLatin1(name)));
        QDir().mkpath(dir.filePath(QStringLiteral("XDG_RUNTIME_DIR")));
        // No library: the monitor starts without trying a controller.
        env.insert(QStringLiteral("ZELMON_ZELCOM_LIBRARY"),
                   dir.filePath(QStringLiteral("none.so")));
        monitor.setProcessEnvironment(env);
        monitor.start(QStringLiteral(ZELMON_PROGRAM), arguments);
        ASSERT_TRUE(monitor.waitForStarted());
    }

    QTemporaryDir dir;
    QProcess monitor;
};

struct Invocation {
    QStringList arguments;
    int exitCode;
    const char* out;  // what standard output starts with
    const char* err;  // standard error, all of it
};

TEST_F(MonitorProcess, HelpAndVersionNeedNoDisplayAndAStartSaysItNeedsOne) {
    const char* noDisplay =
        "zelmon: no display to show the monitor on; start it in a graphical session "
        "(DISPLAY or WAYLAND_DISPLAY set) or with QT_QPA_PLATFORM=offscreen.\n";
    const Invocation invocations[] = {
        {{"--help"}, 0, "Usage: ", ""},
        {{"-h"}, 0, "Usage: ", ""},
        {{"--version"}, 0, "ZEL Monitor Version 3.6 Build 03/20/2024\n", ""},
        {{"-v"}, 0, "ZEL Monitor Version 3.6 Build 03/20/2024\n", ""},
        {{}, 1, "", noDisplay},
        {{"plant.SYM"}, 1, "", noDisplay},
    };
    for (const Invocation& call : invocations) {
        SCOPED_TRACE(call.arguments.join(u' ').toStdString());
        start(call.arguments, false);
        ASSERT_TRUE(monitor.waitForFinished(30000));
        EXPECT_EQ(monitor.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(monitor.exitCode(), call.exitCode);
        EXPECT_TRUE(monitor.readAllStandardOutput().startsWith(call.out));
        EXPECT_EQ(monitor.readAllStandardError(), call.err);
    }
}

}  // namespace
