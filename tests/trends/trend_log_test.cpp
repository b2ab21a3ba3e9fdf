// The CSV log: its lines, restarts and rotation, and that a kill at any moment or a disk that
// takes no more leaves only whole lines.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

#include "tests/support/file_bytes.h"
#include "trends/trend_log.h"

using namespace zel;

namespace {

constexpr qint64 kNoon = 1717243200000;  // 2024-06-01T12:00:00.000Z

QStringList linesOf(const QString& path) {
    const QString text = QString::fromUtf8(test::readBytes(path));
    EXPECT_TRUE(text.isEmpty() || text.endsWith(u'\n')) << path.toStdString();
    return text.split(u'\n', Qt::SkipEmptyParts);
}

// A comment, the header of two values, or a sample line with two fields.
bool parses(const QString& line) {
    static const QRegularExpression form(QStringLiteral(
        R"(^(# logging restarted \S+|time,"a","b"|\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z,-?\d*,-?\d*)$)"));
    return form.match(line).hasMatch();
}

// In a child: logs lines "a, b" = n, -n until the log stops, telling `progress` (when given) of
// each line with a byte, then exits 0. The log's messages go to standard output.
[[noreturn]] void logUntilStopped(const QString& path, qint64 maxBytes, int progress = -1) {
    TrendLog log(
        [](const QString& text) {
            std::fputs(text.toUtf8().constData(), stdout);
            std::fflush(stdout);
        },
        {maxBytes, 2});
    log.start(path, {QStringLiteral("a"), QStringLiteral("b")});
    for (int32_t n = 0; log.active(); ++n) {
        log.append(kNoon + n, {n, -n});
        if (progress >= 0 && ::write(progress, "+", 1) != 1) break;
    }
    ::_exit(0);
}

class TrendLogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("values.csv"));
    QStringList messages;
    // The monitor's own number of rotated files.
    TrendLog log{[this](const QString& t) { messages << t; }, {.maxBytes = 200}};
};

}  // namespace

TEST_F(TrendLogTest, LinesRestartsAndRotation) {
    ASSERT_TRUE(log.start(path, {QStringLiteral("Register 120"), QStringLiteral("say \"hi\", x")}));
    log.append(kNoon, {120, std::nullopt});
    log.stop();
    ASSERT_TRUE(log.start(path, {QStringLiteral("Register 120"), QStringLiteral("say \"hi\", x")}));
    log.append(kNoon + 1500, {-7, 3});
    const QStringList lines = linesOf(path);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral(R"(time,"Register 120","say ""hi"", x")"));
    EXPECT_EQ(lines[1], QStringLiteral("2024-06-01T12:00:00.000Z,120,"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("# logging restarted 20")));
    EXPECT_EQ(lines[3], lines[0]);
    EXPECT_EQ(lines[4], QStringLiteral("2024-06-01T12:00:01.500Z,-7,3"));

    // 200 bytes a file: the full one moves to .1, each older one a number up, and beyond .3
    // the oldest goes.
    for (int n = 0; n < 40; ++n) log.append(kNoon, {n, n});
    EXPECT_TRUE(log.active());
    for (const QString& name : {path, path + ".1", path + ".2", path + ".3"}) {
        EXPECT_LE(QFile(name).size(), 200) << name.toStdString();
        EXPECT_EQ(linesOf(name).value(0).toStdString(), lines[0].toStdString())
            << name.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path + ".4"));
    EXPECT_EQ(linesOf(path).last(), QStringLiteral("2024-06-01T12:00:00.000Z,39,39"));
}

TEST_F(TrendLogTest, AVanishedFolderStopsLoggingWithAMessage) {
    const QString folder = dir.filePath(QStringLiteral("gone"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString inside = folder + QStringLiteral("/values.csv");
    ASSERT_TRUE(log.start(inside, {QStringLiteral("a")}));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    for (int n = 0; n < 20 && log.active(); ++n) log.append(kNoon, {n});
    EXPECT_FALSE(log.active());
    EXPECT_EQ(messages.last(),
              QStringLiteral("Logging to %1 stopped: No such file or directory.").arg(inside));

    EXPECT_FALSE(log.start(inside, {QStringLiteral("a")}));
    EXPECT_EQ(messages.last(),
              QStringLiteral("Could not start logging to %1: No such file or directory.").arg(inside));
}

// The file size limit stands in for a full disk: writes past it fail part-way, then outright.
TEST_F(TrendLogTest, AFullDiskStopsLoggingWithAMessageAndLeavesWholeLines) {
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(out[1], 1);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        logUntilStopped(path, 1 << 20);
    }
    ::close(out[1]);
    QByteArray said;
    char buffer[256];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(QString::fromUtf8(said),
              QStringLiteral("Logging to %1.Logging to %1 stopped: File too large.").arg(path));
    const QStringList lines = linesOf(path);
    EXPECT_GT(lines.size(), 20);
    for (const QString& line : lines) EXPECT_TRUE(parses(line)) << line.toStdString();
}

// Killed after a varied number of lines have appeared, across restarts and rotations, the log
// holds every line it had and no broken one.
TEST_F(TrendLogTest, AKillAtAnyMomentLeavesOnlyWholeLines) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> linesBeforeKill(1, 400);
    for (int run = 0; run < 25; ++run) {
        const int wanted = linesBeforeKill(random);
        int lines[2];
        ASSERT_EQ(::pipe(lines), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(lines[0]);
            logUntilStopped(path, 4096, lines[1]);
        }
        ::close(lines[1]);
        char mark;
        for (int seen = 0; seen < wanted && ::read(lines[0], &mark, 1) == 1;) ++seen;
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status));
        ::close(lines[0]);
    }
    for (const QString& name : {path, path + ".1", path + ".2"})
        for (const QString& line : linesOf(name))
            ASSERT_TRUE(parses(line)) << name.toStdString() << ": " << line.toStdString();
}
