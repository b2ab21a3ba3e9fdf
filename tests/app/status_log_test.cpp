// The status log keeps a line per status text, but folds a text that repeats with only its
// numbers changed (a failure counted at every tick) into one line and a count.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/status_log.h"
#include "tests/support/file_bytes.h"

using namespace zel;

namespace {

QStringList lines(const QString& path) {
    QStringList out;
    for (const QByteArray& l : test::readBytes(path).split('\n'))
        if (!l.isEmpty()) out << QString::fromUtf8(l).section(QLatin1Char(' '), 1);
    return out;
}

}  // namespace

TEST(StatusLog, CountedRepeatsFoldIntoOneLineAndACount) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zelmon.log"));
    {
        StatusLog log(path);
        for (int n = 1; n <= 100; ++n)
            log.write(QStringLiteral("( %1 ) Failed to make connection, please configure -  No reply").arg(n));
        log.write(QStringLiteral("Connected to TCP/IP 127.0.0.1"));
    }
    EXPECT_EQ(lines(path), QStringList({
                               "( 1 ) Failed to make connection, please configure - No reply",
                               "(99 similar lines left out)",
                               "Connected to TCP/IP 127.0.0.1",
                           }));
}

TEST(StatusLog, AnUnwritableLogFileIsReportedAndNothingElseBreaks) {
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeBytes(dir.filePath(QStringLiteral("not-a-folder")), {}));
    StatusLog log(dir.filePath(QStringLiteral("not-a-folder/zelmon.log")));
    EXPECT_FALSE(log.openError().isEmpty());
    log.write(QStringLiteral("still fine"));
}
