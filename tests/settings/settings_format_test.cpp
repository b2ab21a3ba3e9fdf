#include "settings/settings_format.h"
#include "test_files.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <limits>

using namespace zel::settings;
using namespace Qt::StringLiterals;

namespace {

SettingsData awkwardData() {
    SettingsData data;
    SettingsSection& main = data[u"Software\\Orvane\\ZEL Monitor\\Main"_s];
    main[u"Top"_s] = std::numeric_limits<std::int32_t>::min();
    main[u"Width"_s] = std::numeric_limits<std::int32_t>::max();
    main[u"=[weird] #name%"_s] = u""_s;
    SettingsSection& files = data[u"Files\n[x]\t\"y\""_s];
    files[u"nul"_s] = QString::fromUtf16(u"abc\0def", 7);
    files[u"lines"_s] = u"one\ntwo\r\nthree\\"_s;
    files[u"marks"_s] = u"100% \"q\" [a]=b #c"_s;
    files[u"unicode"_s] = u"\uFEFFGrüße ✓"_s;
    data[u"Empty"_s];
    return data;
}

}  // namespace

TEST(SettingsFormat, AnyTextAndNumberRoundTripsAndEveryCutIsDetected) {
    QByteArray bytes = writeSettings(awkwardData());
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    const ReadResult result = readSettings(buffer);
    ASSERT_FALSE(result.error) << result.error->text();
    EXPECT_EQ(result.data, awkwardData());
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        EXPECT_TRUE(readSettings(bytes.first(size)).error) << "cut at " << size;
    }
}

TEST(SettingsFormat, DamageIsReportedWithItsLine) {
    const QByteArray head = "ZEL Monitor settings 1\n[S]\n";
    const struct {
        QByteArray bytes;
        int line;
    } cases[] = {
        {"[S]\nEND\n", 1},
        {"ZEL Monitor settings 1\nA=1\nEND\n", 2},
        {head + "A= 1\nEND\n", 3},
        {head + "A=2147483648\nEND\n", 3},
        {head + "A=\"x\"y\"\nEND\n", 3},
        {head + "A=\"%4\"\nEND\n", 3},
        {head + "A=\"\xff\"\nEND\n", 3},
        {head + "A=\"\t\"\nEND\n", 3},
        {head + "A=1\nA=2\nEND\n", 4},
        {head + "[S]\nEND\n", 3},
        {head + "END\n# late\n", 4},
        {head + QByteArray(kMaxSettingsFileBytes, '#') + "\nEND\n", 0},
    };
    for (const auto& c : cases) {
        const ReadResult result = readSettings(c.bytes);
        ASSERT_TRUE(result.error) << c.bytes.left(60).toStdString();
        EXPECT_EQ(result.error->line, c.line) << result.error->text();
        EXPECT_TRUE(result.data.empty());
    }
}
