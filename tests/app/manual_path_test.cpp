// Where the Help menu finds the manual: beside the program in the build tree, in the shared
// data folder once installed under a prefix.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/product_info.h"
#include "tests/support/file_bytes.h"

namespace zel {
namespace {

TEST(ManualPath, BesideTheProgramFirstThenUnderThePrefix) {
    struct Case {
        const char* name;
        QStringList present;  // files made under the prefix
        QString expected;     // relative to the prefix
    };
    const Case cases[] = {
        {"build tree", {"bin/zelmon34.pdf"}, "bin/zelmon34.pdf"},
        {"installed", {"share/zel-monitor/zelmon34.pdf"}, "share/zel-monitor/zelmon34.pdf"},
        {"both", {"bin/zelmon34.pdf", "share/zel-monitor/zelmon34.pdf"}, "bin/zelmon34.pdf"},
        {"neither", {}, "bin/zelmon34.pdf"},
    };
    for (const Case& c : cases) {
        QTemporaryDir prefix;
        ASSERT_TRUE(prefix.isValid());
        const QDir root(prefix.path());
        root.mkpath("bin");
        for (const QString& file : c.present) {
            root.mkpath(QFileInfo(root.filePath(file)).path());
            ASSERT_TRUE(test::writeBytes(root.filePath(file), {}));
        }
        EXPECT_EQ(manualPath(root.filePath("bin")), root.filePath(c.expected)) << c.name;
    }
}

}  // namespace
}  // namespace zel
