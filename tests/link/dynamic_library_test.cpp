#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "link/dynamic_zel_library.h"
#include "link/library_version.h"
#include "tests/support/file_bytes.h"

namespace zel {
namespace {

QString touch(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(test::writeBytes(path, "not a library"));
    return path;
}

TEST(DynamicZelLibrary, MissingFileIsReportedAndEveryCallFailsCleanly) {
    const QString missing = QStringLiteral("/nonexistent/folder/libzelcom.so.3");
    DynamicZelLibrary lib({missing});

    EXPECT_FALSE(lib.isLoaded());
    EXPECT_EQ(lib.fileName(), missing);
    EXPECT_TRUE(lib.loadError().contains(missing));
    EXPECT_TRUE(lib.loadError().contains("No such file")) << lib.loadError().toStdString();

    int32_t value = 0;
    EXPECT_EQ(lib.ZlOpenConnection(LinkKind::Serial, 1, 0), 0);
    EXPECT_EQ(lib.ZlGetRegister(1, 1, value), 0);
    QByteArray reply;
    EXPECT_EQ(lib.ZlSendData(1, 20, "ab", 2, reply), 0);

    LibErrorRecord error;
    EXPECT_EQ(lib.ZlGetErrorInfo(0, error), 1);
    EXPECT_EQ(error.code, kLibraryNotLoadedError);
    EXPECT_EQ(error.text.size(), 255);
    EXPECT_TRUE(error.text.contains(missing));
    EXPECT_EQ(SelectCommFunction(lib), 0);
}

TEST(DynamicZelLibrary, FileWithoutTheEntryPointsIsRefusedByName) {
    DynamicZelLibrary lib({QStringLiteral("libm.so.6")});
    EXPECT_FALSE(lib.isLoaded());
    EXPECT_TRUE(lib.loadError().contains("ZlOpenConnection")) << lib.loadError().toStdString();
}

TEST(DynamicZelLibrary, EnvironmentChoiceReplacesTheSearchPath) {
    qunsetenv(kLibraryOverrideVariable);
    // Beside the program (the build tree), under the prefix's library folder (lib, or
    // lib/<multiarch> for /usr), then the loader's search path.
    const QStringList files = DynamicZelLibrary::candidateFiles("/opt/zelmon/bin");
    ASSERT_EQ(files.size(), 3) << files.join(' ').toStdString();
    EXPECT_EQ(files[0], "/opt/zelmon/bin/libzelcom.so.3");
    EXPECT_TRUE(files[1].startsWith("/opt/zelmon/lib/") && files[1].endsWith("/libzelcom.so.3"))
        << files[1].toStdString();
    EXPECT_EQ(files[2], "libzelcom.so.3");
    qputenv(kLibraryOverrideVariable, "/tmp/maker/libzelcom.so.3.1.0.0");
    EXPECT_EQ(DynamicZelLibrary::candidateFiles("/opt/zelmon"),
              QStringList({"/tmp/maker/libzelcom.so.3.1.0.0"}));
    qunsetenv(kLibraryOverrideVariable);
}

TEST(SelectCommFunction, ComparesTheVersionInTheFileNameNumerically) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* name;
        int expected;
    } cases[] = {{"libzelcom.so.3.0.3.1", 1},   {"libzelcom.so.3.0.3.10", 1},
                 {"libzelcom.so.3.1.0.0", 1},   {"libzelcom.so.10.0.0.0", 1},
                 {"libzelcom.so.3.0.2.9", 0},   {"libzelcom.so.3.0.3.0", 0},
                 {"libzelcom.so.3", 0},         {"libother.so.4.0.0.0", 0},
                 {"libzelcom.so.4.0.0.0.1", 0}, {"libzelcom.so.4..0.0", 0},
                 {"libzelcom.so.4.0.0.+1", 0},  {"libzelcom.so.4.0.0.99999999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SelectCommFunction(touch(dir, c.name)), c.expected) << c.name;
    EXPECT_EQ(SelectCommFunction(dir.filePath("libzelcom.so.4.0.0.0")), 0);  // no such file
}

#ifdef ZELCOM_LIBRARY_FILE
class RealLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(kFile)) GTEST_SKIP() << "library not built: " << kFile.toStdString();
    }
    const QString kFile = QStringLiteral(ZELCOM_LIBRARY_FILE);
};

TEST_F(RealLibraryTest, LoadsAndPassesTheErrorRecordAcross) {
    DynamicZelLibrary lib({kFile});
    ASSERT_TRUE(lib.isLoaded()) << lib.loadError().toStdString();
    EXPECT_TRUE(lib.fileName().endsWith("libzelcom.so.3.0.3.1"));
    EXPECT_EQ(SelectCommFunction(lib), 1);

    int32_t value = 0;
    EXPECT_EQ(lib.ZlGetRegister(123456, 1, value), 0);
    LibErrorRecord error;
    EXPECT_EQ(lib.ZlGetErrorInfo(0, error), 1);
    EXPECT_EQ(error.code, 101);
    EXPECT_EQ(error.text.size(), 255);
    EXPECT_TRUE(error.text.startsWith("Invalid connection handle"));
}

TEST_F(RealLibraryTest, OlderVersionFoundThroughALinkSelectsZero) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString older = dir.filePath("libzelcom.so.3.0.2.9");
    ASSERT_TRUE(QFile::copy(kFile, older));
    ASSERT_TRUE(QFile::link(older, dir.filePath("libzelcom.so.3")));

    qunsetenv(kLibraryOverrideVariable);
    DynamicZelLibrary lib(DynamicZelLibrary::candidateFiles(dir.path()));

    ASSERT_TRUE(lib.isLoaded()) << lib.loadError().toStdString();
    EXPECT_EQ(lib.fileName(), QFileInfo(older).canonicalFilePath());
    EXPECT_EQ(SelectCommFunction(lib), 0);
}
#endif

}  // namespace
}  // namespace zel
