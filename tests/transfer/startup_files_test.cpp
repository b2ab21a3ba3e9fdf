// The start-up choice of remembered files: what is offered and what each button forgets.
#include <gtest/gtest.h>

#include "transfer/startup_files.h"

using namespace zel;

namespace {

FileSettings someFiles() {
    FileSettings f;
    f.CustomScreen1File = QStringLiteral("/plant/LINE1.CFG");
    f.SymbolFileName = QStringLiteral("/plant/LINE1.SYM");
    f.DataTableFile = QStringLiteral("/plant/LINE1.tab");
    return f;
}

}  // namespace

TEST(StartupFiles, SetNamesAreOfferedTickedAndEmptyOnesDisabled) {
    EXPECT_FALSE(StartupFiles::offered(FileSettings{}));
    FileSettings files;
    files.CustomScreen2File = QStringLiteral("B.CFG");
    EXPECT_TRUE(StartupFiles::offered(files));
    files = someFiles();
    StartupFiles choice(files);
    const struct {
        const char* caption;
        bool enabled;
    } expected[] = {
        {"Custom Form 1 file /plant/LINE1.CFG", true},
        {"Custom Form 2 file NOT defined.", false},
        {"Symbol file /plant/LINE1.SYM", true},
        {"Data Table file /plant/LINE1.tab", true},
    };
    for (int i = 0; i < StartupFiles::kBoxes; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(choice.box(i).caption, QString::fromLatin1(expected[i].caption));
        EXPECT_EQ(choice.box(i).enabled, expected[i].enabled);
        EXPECT_EQ(choice.box(i).checked, expected[i].enabled);
    }
}

TEST(StartupFiles, OkayForgetsOnlyTheUntickedNamesAndCancelForgetsAll) {
    FileSettings files = someFiles();
    StartupFiles choice(files);
    choice.setChecked(2, false);
    choice.setChecked(1, true);  // disabled: stays unticked and changes nothing
    EXPECT_FALSE(choice.box(1).checked);
    choice.accept();
    EXPECT_EQ(files.CustomScreen1File, QStringLiteral("/plant/LINE1.CFG"));
    EXPECT_EQ(files.SymbolFileName, QString());
    EXPECT_EQ(files.DataTableFile, QStringLiteral("/plant/LINE1.tab"));

    files = someFiles();
    StartupFiles(files).cancel();
    EXPECT_EQ(files, FileSettings{});
}
