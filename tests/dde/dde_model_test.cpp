// The DDE window's rules against the library's test double: entry boxes, writes, commands and
// the exchange's block of the tick with its change notices.
#include <gtest/gtest.h>

#include <QStringList>

#include "common/key_codes.h"
#include "dde/dde_model.h"
#include "link/fake/fake_zel_library.h"
#include "link/link_claim.h"

using namespace zel;

namespace {

struct Dde {
    explicit Dde(int32_t flags = 64) {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.Counts.setMain({flags, 0, 0, 0, 0, 0, 0});
        state.flags.NoCommunication = state.flags.CommErrorFlag = false;
        state.flags.DdeActive = true;
        state.dde = {.DdeBlock50 = 0, .DdeFlagAddress = 1, .DdeRegAddress = 1,
                     .UpdateInterval = 1000};
        model.load();
        notices.clear();
        lib.clearCalls();
    }
    void type(const QString& box, const QString& text) {
        for (QChar c : text) {
            model.keyPress(box, c.unicode());
            model.textChanged(box, model.item(box) + c);
        }
    }
    void enter(const QString& box, const QString& text) {
        type(box, text);
        model.keyPress(box, kEnterKey);
    }
    void tick() { model.refresh(context); }

    AppState state;
    FakeZelLibrary lib;
    QStringList messages;
    QList<int> intervals;
    QList<DdeChanges> notices;
    DdeModel model{state, lib,
                   DdeModel::Hooks{[this](const QString& t) { messages << t; },
                                   [this](int ms) { intervals << ms; }, {},
                                   [this](const DdeChanges& c) { notices << c; }}};
    std::function<void()> pump = [] {};
    PollContext context{state, lib, [this] { pump(); }};
};

}  // namespace

// Typing into an address box stops the exchange and keeps the half-typed value from the
// setting; Enter or leaving the box clamps it, stores it and starts the exchange again.
TEST(DdeModel, TypingAnAddressPausesTheExchangeUntilEnterOrLeaving) {
    struct Case {
        const char* box;
        const char* typed;
        bool leave;  // leaves the box instead of pressing Enter
        const char* shown;
    } const cases[] = {
        {"FlagAddress", "99", false, "64"},   {"FlagAddress", "-5", true, "0"},
        {"RegAddress", "50000", false, "40000"}, {"RegAddress", "17", true, "17"},
        {"Reg50Address", "25", false, "20"},  {"Reg50Address", "2.5", false, "2"},
    };
    for (const Case& c : cases) {
        Dde d;
        d.type(c.box, c.typed);
        EXPECT_FALSE(d.state.flags.DdeActive) << c.box;
        EXPECT_TRUE(d.model.editing());
        EXPECT_EQ(d.state.dde.DdeFlagAddress + d.state.dde.DdeRegAddress + d.state.dde.DdeBlock50,
                  2)
            << c.box << ": a half-typed value is not copied";
        if (c.leave)
            d.model.focusLost(c.box);
        else
            EXPECT_TRUE(d.model.keyPress(c.box, kEnterKey));
        EXPECT_EQ(d.model.item(c.box), c.shown) << c.box << " " << c.typed;
        EXPECT_TRUE(d.state.flags.DdeActive);
        EXPECT_FALSE(d.model.editing());
    }
    Dde d;
    d.enter("Reg50Address", "3");
    EXPECT_EQ(d.state.dde.DdeBlock50, 3);
    EXPECT_EQ(d.model.item("lblReg(0)"), "Reg 101:");
    EXPECT_EQ(d.model.item("lblReg(9)"), "Reg 146:");
    d.model.textChanged("RegAddress", "250");  // a client's change, not typed
    EXPECT_EQ(d.state.dde.DdeRegAddress, 250);
}

TEST(DdeModel, TheNodeBoxTakesNodes1To999AndNeitherPausesNorRestarts) {
    struct Case {
        const char* typed;
        int32_t node;
        bool reconnects;
    } const cases[] = {{"12", 12, true}, {"1000", 3, false}, {"0", 3, false}};
    for (const Case& c : cases) {
        Dde d;
        d.state.settings.TargetNode = 3;
        d.model.execute("START");  // the exchange stopped
        d.enter("DDENode", c.typed);
        EXPECT_EQ(d.state.settings.TargetNode, c.node) << c.typed;
        EXPECT_EQ(d.model.item("DDENode"), QString::number(c.node));
        EXPECT_EQ(d.state.flags.NoCommunication, c.reconnects);
        EXPECT_FALSE(d.state.flags.DdeActive);
    }
}

TEST(DdeModel, FlagWritesSetWithAnyValueOfOneOrMoreAndClearBelowZero) {
    struct Case {
        const char* typed;
        const char* call;
    } const cases[] = {
        {"5", "ZlPutRegister(7, 13205, 1)"},
        {"-3", "ZlPutRegister(7, 13205, 0)"},
        {".5", "ZlPutRegister(7, 13205, 0)"},
        {".7", "ZlPutRegister(7, 13205, 1)"},
    };
    for (const Case& c : cases) {
        Dde d;
        d.state.dde.DdeFlagAddress = 5;
        d.enter("FlagWrite", c.typed);
        EXPECT_EQ(d.lib.calls(), QStringList{c.call}) << c.typed;
        EXPECT_TRUE(d.state.flags.DdeActive) << "a write box does not pause the exchange";
    }
}

TEST(DdeModel, WritesReportFailuresAndWaitForTheLink) {
    Dde d;
    d.lib.setError(40, "Timeout");
    d.lib.queueResults(ZelCall::PutRegister, {0, 0});
    d.state.dde.DdeRegAddress = 300;
    d.enter("RegWrite", "-12");
    d.enter("FlagWrite", "1");
    EXPECT_EQ(d.lib.callsTo(ZelCall::PutRegister),
              (QStringList{"ZlPutRegister(7, 300, -12)", "ZlPutRegister(7, 13201, 1)"}));
    ASSERT_EQ(d.messages.size(), 2);
    EXPECT_TRUE(d.messages[0].startsWith("Failed to update register value!\nTimeout"));
    EXPECT_TRUE(d.messages[1].startsWith("Failed to update Flag value!\nTimeout"));

    d.lib.clearCalls();
    d.state.flags.NoCommunication = true;
    d.enter("RegWrite", "4");
    d.model.textChanged("BlockWrite(1)", "4");
    d.model.writeBlockData();
    EXPECT_TRUE(d.lib.calls().isEmpty());
    EXPECT_EQ(d.model.item("BlockWrite(1)"), "4");
}

// The D-Bus pokes come the same way; a write refused keeps its block entry for a later try.
TEST(DdeModel, WritesAreRefusedWhileATransferHoldsTheLink) {
    Dde d;
    const LinkClaim transfer(d.state, LinkUse::Transfer);
    d.enter("RegWrite", "4");
    d.enter("FlagWrite", "1");
    d.model.textChanged("BlockWrite(1)", "4");
    d.model.writeBlockData();
    EXPECT_TRUE(d.lib.calls().isEmpty());
    EXPECT_EQ(d.model.item("BlockWrite(1)"), "4");
    EXPECT_EQ(d.messages,
              QStringList(3, "A transfer is in progress; try again when it has finished."));
}

TEST(DdeModel, WriteBlockDataWritesTheFilledEntriesAndEmptiesThem) {
    Dde d;
    d.model.textChanged("BlockAddress(1)", "500");
    d.model.textChanged("BlockWrite(1)", "2147483648");
    d.model.textChanged("BlockWrite(3)", "-7");
    d.lib.queueResults(ZelCall::PutRegister, {1, 0});
    d.model.writeBlockData();
    EXPECT_EQ(d.lib.callsTo(ZelCall::PutRegister),
              (QStringList{"ZlPutRegister(7, 500, 2147483647)", "ZlPutRegister(7, 3, -7)"}));
    EXPECT_EQ(d.messages.size(), 1);
    for (const char* box : {"BlockWrite(1)", "BlockWrite(3)"}) EXPECT_EQ(d.model.item(box), "");
}

TEST(DdeModel, TheIntervalSetsThePollingTickWithATenMillisecondFloor) {
    Dde d;
    d.model.setInterval(5);
    d.model.setInterval(250);
    EXPECT_EQ(d.intervals, (QList<int>{10, 250}));
    EXPECT_EQ(d.state.dde.UpdateInterval, 250);
    EXPECT_EQ(d.model.item("DdeInterval"), "250");
}

TEST(DdeExchange, TheFlagsComeFromTheWordThatHoldsTheAddressedFlag) {
    struct Case {
        int32_t flags;
        const char* address;
        int32_t word;
        const char* firstLabel;
        const char* lastLabel;
    } const cases[] = {
        {32, "20", 13005, "Flag 1:", "Flag 25:"},
        {64, "33", 13022, "Flag 33:", "Flag 57:"},
        {256, "100", 13024, "Flag 97:", "Flag 121:"},
    };
    for (const Case& c : cases) {
        Dde d(c.flags);
        d.model.textChanged("FlagAddress", c.address);
        d.lib.setRegister(c.word, static_cast<int32_t>(0x80000005u));
        d.tick();
        EXPECT_EQ(d.model.item("lblFlag(0)"), c.firstLabel) << c.address;
        EXPECT_EQ(d.model.item("lblFlag(3)"), c.lastLabel);
        QString bits;
        for (int i = 1; i <= 32; ++i) bits += d.model.item(DdeItems::element("FlagValue", i));
        EXPECT_EQ(bits, "10100000000000000000000000000001");
    }
}

// One notice per tick, with only what changed; a block number of 0 reads no block and leaves
// its rows.
TEST(DdeExchange, EachTickSendsOneNoticeOfTheChangedItemsOnly) {
    Dde d(32);
    d.lib.setRegister(13005, 4);
    d.lib.setRegister(1, 77);
    d.model.textChanged("BlockAddress(2)", "0");
    d.notices.clear();
    d.tick();
    ASSERT_EQ(d.notices.size(), 1);
    EXPECT_EQ(d.notices[0],
              (DdeChanges{{"FlagValue(3)", "1"}, {"RegRead", "77"}, {"BlockRead(1)", "77"}}));
    EXPECT_FALSE(d.lib.callOrder().contains(ZelCall::GetRegister50));
    EXPECT_EQ(d.lib.callsTo(ZelCall::GetRegister).size(), 2 + 15);

    d.tick();
    EXPECT_EQ(d.notices.size(), 1) << "nothing changed, nothing sent";
    d.lib.setRegister(16, -1);
    d.tick();
    ASSERT_EQ(d.notices.size(), 2);
    EXPECT_EQ(d.notices[1], (DdeChanges{{"BlockRead(16)", "-1"}}));
}

TEST(DdeExchange, TheFreeEntriesStopWhenTheLinkIsTakenMeanwhile) {
    struct Case {
        const char* what;
        bool MonitoringFlags::*flag;
        bool inPump;  // set while events run, else while the second entry is read
        int entriesRead;
    } const cases[] = {
        {"upload in the pump", &MonitoringFlags::TableUploadBusy, true, 0},
        {"download at entry 2", &MonitoringFlags::DownloadBusy, false, 2},
        {"lost link at entry 2", &MonitoringFlags::NoCommunication, false, 2},
    };
    for (const Case& c : cases) {
        Dde d;
        d.model.textChanged("FlagAddress", "0");
        d.model.textChanged("RegAddress", "0");
        if (c.inPump) d.pump = [&] { d.state.flags.*c.flag = true; };
        d.lib.setResponder(ZelCall::GetRegister, [&](const QVector<int32_t>& args) {
            if (args[1] == 2 && !c.inPump) d.state.flags.*c.flag = true;
            return 1;
        });
        d.tick();
        EXPECT_EQ(d.lib.callsTo(ZelCall::GetRegister).size(), c.entriesRead) << c.what;
    }
}
