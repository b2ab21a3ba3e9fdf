// The zelmon program as a user starts it: over a terminal without a display, and stopped by a
// signal while a message box waits for an answer.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

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
        const QString runtime = dir.filePath(QStringLiteral("XDG_RUNTIME_DIR"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // No library: every connection attempt fails at once, with no controller involved.
        env.insert(QStringLiteral("ZELMON_ZELCOM_LIBRARY"),
                   dir.filePath(QStringLiteral("none.so")));
        monitor.setProcessEnvironment(env);
        monitor.start(QStringLiteral(ZELMON_PROGRAM), arguments);
        ASSERT_TRUE(monitor.waitForStarted());
    }

    // Waits, for at most half a minute, until the log file holds `text`.
    bool waitForLog(const QString& logFile, const QString& text) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30000 && monitor.state() == QProcess::Running) {
            QFile log(logFile);
            if (log.open(QIODevice::ReadOnly) && QString::fromUtf8(log.readAll()).contains(text))
                return true;
            QThread::msleep(20);
        }
        return false;
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
        {{"--version"}, 0, "ZEL Monitor Version 3.6 Build 03/20/2024\n", ""},
        {{}, 1, "", noDisplay},
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

struct Stop {
    const char* label;
    const char* sign;        // the log line that shows the monitor has got that far
    bool unwritableAtStart;  // else the settings folder becomes a plain file after the sign
};

// Settings that cannot be written put a box up at start-up, or several at shutdown; at either
// point the first SIGTERM ends the monitor, well within the few seconds allowed here.
TEST_F(MonitorProcess, TheFirstSigtermEndsItWhateverBoxesWait) {
    const Stop stops[] = {
        {"in the start-up box", "Cannot create settings file", true},
        {"while polling", "( 1 ) Failed to make connection", false},
    };
    for (const Stop& stop : stops) {
        SCOPED_TRACE(stop.label);
        const QString folder = dir.filePath(QString::fromLatin1(stop.label));
        const QString logFile = folder + QStringLiteral(".log");
        const auto makePlainFile = [&] { return QFile(folder).open(QIODevice::WriteOnly); };
        if (stop.unwritableAtStart) {
            ASSERT_TRUE(makePlainFile());
        }
        start({QStringLiteral("--settings"), folder + QStringLiteral("/settings.ini"),
               QStringLiteral("--log"), logFile},
              true);
        ASSERT_TRUE(waitForLog(logFile, QString::fromLatin1(stop.sign)))
            << monitor.readAllStandardError().toStdString();
        if (!stop.unwritableAtStart) {
            ASSERT_TRUE(QDir(folder).removeRecursively() && makePlainFile());
        }

        ::kill(static_cast<pid_t>(monitor.processId()), SIGTERM);
        EXPECT_TRUE(monitor.waitForFinished(5000));
        monitor.kill();
        monitor.waitForFinished();
    }
}

}  // namespace
