// A custom screen's rows against the fake library: defining rows within each kind's limits,
// the live values of each kind, what a typed value writes, and the file commands.
#include <QMap>

#include "tests/resources/resource_fixture.h"
#include "windows/custom_screen_model.h"

using namespace zel;

namespace {

struct Box {
    QString text;
    BoxIcon icon;
};

// Answers the screen's questions and records what it showed; keeps files in memory.
class Screen : public test::ResourceFixture, public CustomScreenView, public CustomScreenFiles {
protected:
    QList<Box> shown;
    QStringList asked;
    bool answerYes = true;
    QString chosenPath;
    QMap<QString, CustomRows> disk;
    bool writesFail = false;

    void draw() override {}
    void messageBox(const QString& text, BoxIcon icon) override { shown << Box{text, icon}; }
    bool askYesNo(const QString& text) override {
        asked << text;
        return answerYes;
    }
    QString chooseFile(FileDialogKind, const QString&) override { return chosenPath; }
    std::optional<QString> read(const QString& path, CustomRows& rows) override {
        if (!disk.contains(path)) return QStringLiteral("no file");
        rows = disk[path];
        return std::nullopt;
    }
    std::optional<QString> write(const QString& path, const CustomRows& rows) override {
        if (writesFail) return QStringLiteral("disk full");
        disk[path] = rows;
        return std::nullopt;
    }

    std::unique_ptr<CustomScreenModel> screen(CustomScreen which = CustomScreen::First) {
        auto model = std::make_unique<CustomScreenModel>(which, services(), this);
        model->setView(this);
        model->open();
        return model;
    }

    static void typeNumber(CustomScreenModel& m, int r, const QString& text) {
        m.numberKey(r, u'x');
        m.setNumberText(r, text);
        m.numberKey(r, QChar(13));
    }
    static void typeValue(CustomScreenModel& m, int r, const QString& text) {
        m.valueKey(r, u'x');
        m.setValueText(r, text);
        m.valueKey(r, QChar(13));
    }
};

}  // namespace

TEST_F(Screen, ChoosingAKindChecksTheNumberAgainstThatKindsLimit) {
    // 64 flags, 4 servos (fixture).
    struct Case {
        int16_t kind;
        int32_t number;
        QString label;
        QString message;  // empty: none
        BoxIcon icon;
    };
    const Case cases[] = {
        {1, 64, "Flag 64", "", BoxIcon::None},
        {1, 65, "Not Selected", "No such FLAG exists.", BoxIcon::Exclamation},
        {3, 1001, "Not Selected", "No such digital output exists.", BoxIcon::Exclamation},
        {4, 300, "Not Selected", "No such analog input exists.", BoxIcon::Exclamation},
        {7, 4, "Servo Position 4", "", BoxIcon::None},
        {8, 5, "Not Selected", "No such servo motor exists.", BoxIcon::Exclamation},
        {12, 5, "Not Selected", "No such servo motor exists.", BoxIcon::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label.toStdString() + " " + std::to_string(c.number));
        state.connection.ModelCode = 5;
        auto m = screen();
        m->kindChosen(0, 6);  // a register row takes any of these numbers
        typeNumber(*m, 0, QString::number(c.number));
        shown.clear();
        m->kindChosen(0, c.kind);
        EXPECT_EQ(m->row(0).label, c.label);
        EXPECT_EQ(m->row(0).kind, c.message.isEmpty() ? c.kind : 0);
        ASSERT_EQ(shown.size(), c.message.isEmpty() ? 0 : 1);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(shown[0].text, c.message);
            EXPECT_EQ(shown[0].icon, c.icon);
        }
    }
}

TEST_F(Screen, ATypedNumberIsClampedRoundedAndCheckedWithTheEnteredMessages) {
    struct Case {
        int16_t kind;
        QString typed;
        int32_t number;
        QString label;
        QString message;
    };
    const Case cases[] = {
        {6, "abc", 1, "Register 1", ""},
        {6, "2.5", 2, "Register 2", ""},
        {6, "70000", 1, "Register 1", "No such REGISTER exists."},
        {0, "70000", 1, "Not Selected", ""},
        {1, "65", 1, "Flag 1", "No such FLAG exist."},
        {2, "1001", 1, "Digital Input 1", "No such DIGITAL INPUT exists."},
        {7, "5", 1, "Servo Position 1", "No such SERVO exists."},
        {9, "5", 1, "Servo Home Inp 1", "No such servo motor exist."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        state.connection.ModelCode = 5;
        auto m = screen();
        m->kindChosen(0, c.kind);
        shown.clear();
        typeNumber(*m, 0, c.typed);
        EXPECT_EQ(m->row(0).number, c.number);
        EXPECT_EQ(m->numberText(0), QString::number(c.number));
        EXPECT_EQ(m->row(0).kind, c.kind);
        EXPECT_EQ(m->row(0).label, c.label);
        EXPECT_FALSE(m->editGuard().active());
        EXPECT_EQ(shown.isEmpty() ? QString() : shown[0].text, c.message);
    }
}

TEST_F(Screen, TheServoInputsAreOfferedOnlyToModel3AndAbove4) {
    for (const auto& [model, count, last] :
         {std::tuple{3, 13, "Servo Fwdl Inp"}, {4, 9, "Servo Error"}, {5, 13, "Servo Fwdl Inp"}}) {
        state.connection.ModelCode = model;
        auto m = screen();
        EXPECT_EQ(m->kindList().size(), count);
        EXPECT_EQ(m->kindList().last(), QString::fromLatin1(last));
    }
}

TEST_F(Screen, LeavingANumberBoxAppliesItOnScreen2OnlyForASelectedKind) {
    for (const auto& [which, kind, applied] :
         {std::tuple{CustomScreen::First, 0, true}, {CustomScreen::Second, 0, false},
          {CustomScreen::Second, 6, true}}) {
        auto m = screen(which);
        m->kindChosen(0, static_cast<int16_t>(kind));
        m->numberKey(0, u'9');
        m->setNumberText(0, QStringLiteral("0"));
        m->numberFocusLost(0);
        EXPECT_EQ(m->numberText(0), applied ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_FALSE(m->editGuard().active());
    }
}

TEST_F(Screen, EachKindShowsItsRegisterAsItsTableSays) {
    struct Case {
        int16_t kind;
        int32_t number;
        int16_t flags;
        int32_t reg;
        int32_t value;
        QString shownText;
        const char* trended;  // what Add to Trend takes from the row
    };
    const Case cases[] = {
        {1, 3, 24, 13005, 4, "Set", "Flag 3 @ bit 2 of 13005"},
        {1, 40, 64, 13022, 0b1000'0000, "Set", "Flag 40 @ bit 7 of 13022"},
        {1, 1, 64, 13021, 0, "Clear", "Flag 1 @ bit 0 of 13021"},
        {2, 5, 64, 2005, 1, "1", "Digital Input 5 @ register 2005"},
        {3, 5, 64, 1005, 0, "0", "Digital Output 5 @ register 1005"},
        {4, 2, 64, 8502, -300, "-300", "Analog Input 2 @ register 8502"},
        {5, 2, 64, 8002, 9000, "9000", "Analog Output 2 @ register 8002"},
        {6, 12, 64, 12, 123456, "123456", "Register 12 @ register 12"},
        {7, 2, 64, 14002, -40, "-40", "Servo Position 2 @ register 14002"},
        {8, 2, 64, 14102, 3, "3", "Servo Error 2 @ register 14102"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.number));
        state.connection.ModelCode = 5;
        state.connection.Counts.setMain({c.flags, 16, 16, 0, 4, 8, 4});
        auto m = screen();
        m->kindChosen(5, c.kind);
        typeNumber(*m, 5, QString::number(c.number));
        lib.setRegister(c.reg, c.value);
        EXPECT_EQ(tick(*m), QList<int32_t>{c.reg});
        EXPECT_EQ(m->valueText(5), c.shownText);
        EXPECT_EQ(test::trendText(m->trendItem(5)), c.trended);
        EXPECT_EQ(test::trendText(m->trendItem(6)), "none");  // not selected
    }
}

// Each servo input row of servo 2 tests one bit of register 14702: Active with that bit alone
// set, InActive with every other bit set.
TEST_F(Screen, EachServoInputRowTestsItsOwnBit) {
    struct Case {
        int16_t kind;
        int32_t weight;
        const char* trended;
    };
    const Case cases[] = {
        {9, 2, "Servo Home Inp 2 @ bit 1 of 14702"},
        {10, 4, "Servo Start Inp 2 @ bit 2 of 14702"},
        {11, 16, "Servo Revl Inp 2 @ bit 4 of 14702"},
        {12, 32, "Servo Fwdl Inp 2 @ bit 5 of 14702"},
    };
    state.connection.ModelCode = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        auto m = screen();
        m->kindChosen(5, c.kind);
        typeNumber(*m, 5, QStringLiteral("2"));
        for (const auto& [value, text] : {std::pair{c.weight, "Active"}, {~c.weight, "InActive"}}) {
            lib.setRegister(14702, value);
            EXPECT_EQ(tick(*m), QList<int32_t>{14702});
            EXPECT_EQ(m->valueText(5).toStdString(), text);
        }
        EXPECT_EQ(test::trendText(m->trendItem(5)), c.trended);
    }
}

TEST_F(Screen, AFailedReadShowsAStarAndRaisesTheErrorFlagUnlessTheResourceIsAbsent) {
    for (const auto& [code, raised] : {std::pair{216, false}, {5, true}}) {
        auto m = screen();
        m->kindChosen(0, 6);
        m->kindChosen(1, 6);
        lib.setRegister(1, 77);
        lib.queueResults(ZelCall::GetRegister, {0});
        lib.setError(code, QStringLiteral("failed"));
        state.flags.CommErrorFlag = false;
        tick(*m);
        EXPECT_EQ(m->valueText(0), QStringLiteral("*"));
        EXPECT_EQ(m->valueText(1), QStringLiteral("77"));
        EXPECT_EQ(state.flags.CommErrorFlag, raised);
    }
}

TEST_F(Screen, TheRowBeingTypedIntoIsHeldBackWhileTheOthersRefresh) {
    auto m = screen();
    for (int r = 0; r < 16; ++r) {
        m->kindChosen(r, 6);
        typeNumber(*m, r, QString::number(r + 1));
    }
    m->valueKey(2, u'4');
    EXPECT_EQ(m->valueText(2), QString());
    m->setValueText(2, QStringLiteral("4"));
    QList<int32_t> others = test::range(1, 16);
    others.removeOne(3);
    EXPECT_EQ(tick(*m), others);
    EXPECT_EQ(m->valueText(2), QStringLiteral("4"));
    m->valueFocusLost(2);
    EXPECT_EQ(m->valueText(2), QString());
    EXPECT_EQ(tick(*m), test::range(1, 16));

    m->valueDelete(7);  // Delete claims the row at any time
    EXPECT_EQ(tick(*m).size(), 15);
}

TEST_F(Screen, EventsRunBeforeRows4_8_12_16AndAClosedConnectionEndsTheTick) {
    auto m = screen();
    for (int r = 0; r < 16; ++r) m->kindChosen(r, 6);
    EXPECT_EQ(tick(*m).size(), 16);
    EXPECT_EQ(pumps, 4);

    pumps = 0;
    onPump = [this] {
        if (pumps == 2) state.connection.CommHandle = 0;
    };
    PollContext c = context();
    lib.clearCalls();
    m->refresh(c);
    EXPECT_EQ(registersRead().size(), 7);  // rows 1..7, then the second pause finds no link
    EXPECT_TRUE(c.tickEnded);

    state.connection.CommHandle = FakeZelLibrary::kHandle;
    state.flags.TableUploadBusy = true;
    EXPECT_TRUE(tick(*m).isEmpty());
}

TEST_F(Screen, AValueTypedIntoAWritableKindIsClampedSentAndReported) {
    struct Case {
        int16_t kind;
        QString typed;
        QString call;  // empty: nothing is sent
        QString message;
    };
    const Case cases[] = {
        {1, "3", "ZlPutFlag(7, 2, 1)", "Flag #2 updated."},
        {3, "5", "ZlPutRegister(7, 1002, 1)", "Output #2 updated."},
        {5, "12000", "ZlPutRegister(7, 8002, 10000)", "Analog Output #2 updated."},
        {5, "-3", "ZlPutRegister(7, 8002, 0)", "Analog Output #2 updated."},
        {6, "-2.5", "ZlPutRegister(7, 2, -2)", "Register #2 updated."},
        {6, "3e10", "ZlPutRegister(7, 2, 2147483647)", "Register #2 updated."},
        {7, "1500", "ZlPutRegister(7, 14002, 1500)", "Servo Position #2 updated."},
        {0, "1", "", ""},
        {2, "1", "", ""},
    };
    state.connection.ModelCode = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + c.typed.toStdString());
        auto m = screen();
        m->kindChosen(0, c.kind);
        typeNumber(*m, 0, QStringLiteral("2"));
        lib.clearCalls();
        messages.clear();
        typeValue(*m, 0, c.typed);
        EXPECT_EQ(lib.calls(), c.call.isEmpty() ? QStringList{} : QStringList{c.call});
        EXPECT_EQ(messages, c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        EXPECT_FALSE(m->editGuard().active());
    }
}

TEST_F(Screen, AFailedWriteReportsTheLibrarysError) {
    auto m = screen();
    m->kindChosen(0, 6);
    lib.setDefaultResult(ZelCall::PutRegister, 0);
    lib.setError(27, QStringLiteral("Bad value"));
    typeValue(*m, 0, QStringLiteral("5"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Failed to update value.\nBad value")));
    EXPECT_EQ(m->valueText(0), QStringLiteral("5"));
}

TEST_F(Screen, FileCommandsKeepThePathAndTheRows) {
    auto m = screen(CustomScreen::Second);
    m->kindChosen(0, 6);
    chosenPath = QStringLiteral("/screens/two.CFG");
    m->fileSave();  // no path yet: acts as Save As
    EXPECT_EQ(state.files.CustomScreen2File, chosenPath);
    EXPECT_EQ(disk[chosenPath][0].label, QStringLiteral("Register 1"));

    m->fileNew();
    EXPECT_TRUE(state.files.CustomScreen2File.isEmpty());
    EXPECT_EQ(m->row(0).label, QStringLiteral("Not Selected"));
    chosenPath = QStringLiteral("/screens/new.CFG");
    m->fileSaveAs();
    for (const CustomRow& row : disk[chosenPath]) {
        EXPECT_EQ(row.label, QStringLiteral("Not Selected"));
        EXPECT_EQ(row.kind, 0);
        EXPECT_EQ(row.number, 1);
    }

    chosenPath = QStringLiteral("/screens/two.CFG");
    m->fileOpen();
    EXPECT_EQ(m->row(0).kind, 6);
    writesFail = true;
    m->fileSave();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("Error Saving File!"));

    chosenPath.clear();  // a cancelled dialog changes nothing
    m->fileOpen();
    EXPECT_EQ(state.files.CustomScreen2File, QStringLiteral("/screens/two.CFG"));
}

TEST_F(Screen, ClosingInResourceModeAsksToSaveAndReopeningReadsTheFileAgain) {
    auto m = screen();
    m->displayResources();
    answerYes = false;
    m->unload(settings::DisplayState::Normal, {});
    EXPECT_EQ(asked, QStringList{QStringLiteral("Save Changes to Custom Form 1?")});
    EXPECT_FALSE(state.flags.windows.Custom1FormOpen);
    EXPECT_EQ(messages.last(), QStringLiteral("Custom Resource Form unloaded."));

    CustomRows saved;
    saved.fill(notSelectedRow());
    saved[3] = {QStringLiteral("Motor"), 7, 2};
    disk[QStringLiteral("/s.CFG")] = saved;
    state.files.CustomScreen1File = QStringLiteral("/s.CFG");
    m->open();
    EXPECT_EQ(m->row(3).label, QStringLiteral("Motor"));
    EXPECT_FALSE(m->resourceMode());
    EXPECT_TRUE(state.flags.windows.Custom1FormOpen);
    m->displayResources();
    answerYes = true;
    m->unload(settings::DisplayState::Normal, {});
    EXPECT_EQ(asked.last(), QStringLiteral("Save Changes to /s.CFG"));
    EXPECT_EQ(disk[QStringLiteral("/s.CFG")][3].number, 2);
}
