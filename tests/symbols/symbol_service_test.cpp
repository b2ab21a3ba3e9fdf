#include <QFileInfo>
#include <QStringList>

#include "symbol_test_support.h"
#include "symbols/symbol_service.h"

using namespace zel;
using namespace zel::symbols;

namespace {

class SymbolServiceTest : public SymbolTest {
protected:
    SymbolServiceTest() { files.SymbolFileName.clear(); }

    SymbolUi ui() {
        SymbolUi hooks;
        hooks.setMessage = [this](const QString& text) { events << QStringLiteral("msg ") + text; };
        hooks.setBusyPointer = [this](bool on) { events << (on ? "busy" : "idle"); };
        hooks.repaintMain = [this] { events << QStringLiteral("repaint"); };
        hooks.pump = [this] {
            if (duringImport) duringImport();
        };
        hooks.chooseFile = [this](const SymbolFileDialogOptions& options) {
            asked = options;
            return chosen;
        };
        return hooks;
    }

    QString goodFile() { return writeFile("plant.SYM", "8 17 0 Pump_speed\n128 5 0 Door\n"); }

    QStringList events;
    QString chosen;
    SymbolFileDialogOptions asked;
    std::function<void()> duringImport;
    SymbolService service{files, ui(), base};
};

TEST_F(SymbolServiceTest, OpenSymbolFileImportsTheChosenFile) {
    files.SymbolFileName = dir.filePath("old/previous.SYM");
    chosen = goodFile();
    service.OpenSymbolFile();

    EXPECT_EQ(asked.directory, dir.filePath("old"));  // where the last file was
    EXPECT_EQ(events, QStringList({"msg Creating database, please wait ...", "busy", "repaint",
                                   "msg New Symbol Database created.", "idle"}));
    EXPECT_EQ(files.SymbolFileName, chosen);
    EXPECT_EQ(service.lookup().name(SymbolCode::Register, 17), QStringLiteral("Pump_speed"));
    EXPECT_EQ(service.lookup().InputSymbol(5, 1).name, QStringLiteral("Door"));
}

TEST_F(SymbolServiceTest, StartUpImportsQuietlyAndACancelledDialogForgetsTheFile) {
    files.SymbolFileName = goodFile();
    service.importAtStartup();
    EXPECT_EQ(events, QStringList({"busy", "repaint", "idle"}));
    EXPECT_EQ(service.lookup().name(SymbolCode::Register, 17), QStringLiteral("Pump_speed"));
    const QString folder = service.database().folderPath();

    service.OpenSymbolFile();
    EXPECT_TRUE(files.SymbolFileName.isEmpty());
    EXPECT_FALSE(service.lookup().active());
    EXPECT_EQ(service.lookup().name(SymbolCode::Register, 17), QString());
    EXPECT_FALSE(events.join(u'|').contains(QLatin1String("msg")));
    EXPECT_TRUE(service.close());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// Lines that are not text are named after the import, the rest of the file is used; a long
// list of them is cut short.
TEST_F(SymbolServiceTest, UnreadableLinesAreNamedByNumber) {
    chosen =
        writeFile("image.SYM", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\n8 17 0 Pump_speed", 34));
    service.OpenSymbolFile();
    EXPECT_EQ(
        events.mid(events.size() - 3),
        QStringList({"msg New Symbol Database created.",
                     "msg Symbol file " + chosen + ": line 3 skipped, it is not text.", "idle"}));
    EXPECT_EQ(service.lookup().name(SymbolCode::Register, 17), QStringLiteral("Pump_speed"));

    QByteArray text;
    for (int i = 0; i < 14; ++i) text += QByteArray("8 1 0 A\n\0\n", 10);
    chosen = writeFile("zeros.SYM", text);
    events.clear();
    service.OpenSymbolFile();
    EXPECT_TRUE(events.contains("msg Symbol file " + chosen +
                                ": lines 2, 4, 6, 8, 10, 12, 14, 16, 18, 20 and 4 more skipped, "
                                "they are not text."))
        << events.join(u'|').toStdString();
}

TEST_F(SymbolServiceTest, ADatabaseThatCannotBeCreatedIsReported) {
    const QString blocker = writeFile("plain-file", "x");
    SymbolService blocked(files, ui(), blocker + QStringLiteral("/under"));
    files.SymbolFileName = goodFile();
    blocked.importAtStartup();
    const QString title = QStringLiteral("msg Failed to create symbol database!\n");
    const QStringList shown = events.filter(title);
    ASSERT_EQ(shown.size(), 1) << events.join(u'|').toStdString();
    EXPECT_GT(shown[0].size(), title.size()) << "the message says why";
    EXPECT_TRUE(files.SymbolFileName.isEmpty());
    EXPECT_FALSE(blocked.database().isOpen());
    EXPECT_TRUE(blocked.database().filePath().isEmpty());
    EXPECT_EQ(events.last(), QStringLiteral("idle"));
}

// Window events run during the import: a second menu click is ignored, and a shutdown closes
// the database and ends the import without a message.
TEST_F(SymbolServiceTest, EventsDuringAnImportAreSafe) {
    QByteArray text;
    for (int i = 0; i < 20000; ++i) text += "8 " + QByteArray::number(i) + " 0 Name\n";
    chosen = writeFile("big.SYM", text);
    int clicks = 0;
    duringImport = [&] {
        if (clicks++ == 0) service.OpenSymbolFile();
    };
    service.OpenSymbolFile();
    EXPECT_EQ(clicks > 0, true);
    EXPECT_TRUE(events.contains(QStringLiteral("msg New Symbol Database created.")));
    EXPECT_EQ(events.count(QStringLiteral("msg Creating database, please wait ...")), 1);

    events.clear();
    duringImport = [&] { service.close(); };
    service.OpenSymbolFile();
    EXPECT_FALSE(service.importing());
    EXPECT_FALSE(service.database().isOpen());
    EXPECT_EQ(events, QStringList({"msg Creating database, please wait ...", "busy", "idle"}));
}

}  // namespace
