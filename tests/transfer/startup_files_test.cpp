// The start-up choice of remembered files: what is offered and what each button forgets.
#include <gtest/gtest.h>

#include <QStringList>

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

// The symbol file's box is unticked and the disabled second screen's ticked (which changes
// nothing) before each way out. Okay forgets the unticked name, Cancel all of them; Escape or
// the close box uses none this run and forgets none: they are set aside and come back when the
// names are saved.
TEST(StartupFiles, OkayForgetsTheUntickedNamesCancelAllAndEscapeNone) {
    using Answer = void (StartupFiles::*)();
    const QString screen = QStringLiteral("/plant/LINE1.CFG");
    const QString symbols = QStringLiteral("/plant/LINE1.SYM");
    const QString table = QStringLiteral("/plant/LINE1.tab");
    const struct {
        const char* way;
        Answer answer;
        QStringList inUse;  // custom screen 1, symbol file, data table, this run
        bool forgot;
        QStringList saved;  // the same names as saved
    } cases[] = {
        {"Okay", &StartupFiles::accept, {screen, "", table}, true, {screen, "", table}},
        {"Cancel", &StartupFiles::cancel, {"", "", ""}, true, {"", "", ""}},
        {"Escape", &StartupFiles::dismiss, {"", "", ""}, false, {screen, symbols, table}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        FileSettings files = someFiles();
        StartupFiles choice(files);
        choice.setChecked(2, false);
        choice.setChecked(1, true);
        EXPECT_FALSE(choice.box(1).checked);
        (choice.*c.answer)();
        EXPECT_EQ(QStringList({files.CustomScreen1File, files.SymbolFileName, files.DataTableFile}),
                  c.inUse);
        EXPECT_EQ(files.CustomScreen2File, QString());
        EXPECT_EQ(choice.forgot(), c.forgot);
        StartupFiles::restoreSetAside(files, choice.setAside());
        EXPECT_EQ(QStringList({files.CustomScreen1File, files.SymbolFileName, files.DataTableFile}),
                  c.saved);
    }
}

// A name chosen during the run after Escape is saved instead of the one set aside.
TEST(StartupFiles, ANameChosenAfterEscapeIsSavedInsteadOfTheSetAsideOne) {
    FileSettings files = someFiles();
    StartupFiles choice(files);
    choice.dismiss();
    files.CustomScreen1File = QStringLiteral("/plant/LINE2.CFG");
    StartupFiles::restoreSetAside(files, choice.setAside());
    EXPECT_EQ(files.CustomScreen1File, QStringLiteral("/plant/LINE2.CFG"));
    EXPECT_EQ(files.DataTableFile, QStringLiteral("/plant/LINE1.tab"));
}
