// Fetching the status data: the packet exchange group by group, and the task banks read when
// the exchange fails.
#include <gtest/gtest.h>

#include "tests/status/packet_controller.h"
#include "status/status_exchange.h"
#include "status/task_banks.h"

using namespace zel;
using namespace zel::status;
using zel::test::PacketController;

namespace {

class StatusFetch : public ::testing::Test {
protected:
    FakeZelLibrary fake;
    AppState state;
    PacketController controller{64};
    StatusRecord record;
    int pumps = 0;
    bool keepGoing = true;
    PumpCheck pumpCheck = [this] { return ++pumps, keepGoing; };
    PollContext context{state, fake, [] {}};

    void SetUp() override {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.ModelCode = 5;
        state.connection.TaskCount = 32;
        state.flags.NoCommunication = false;
        controller.answerPackets(fake);
    }
    bool fetch() { return NewStatusPacket(fake, state, record, pumpCheck); }
    // The requests' command bytes and, for task groups, the offset, as the fake logged them.
    QStringList sent() const {
        QStringList out;
        for (const QString& call : fake.callsTo(ZelCall::SendData))
            out << call.section(", ", 3).mid(6, call.contains("6b ") ? 5 : 2);
        return out;
    }
    QStringList banksRead() const { return fake.callsTo(ZelCall::GetTaskBank); }
};

}  // namespace

TEST_F(StatusFetch, ATaskTotalOfEightMakesOneExchangePair) {
    controller = PacketController(8);
    controller.faultCode = 3;
    ASSERT_TRUE(fetch());
    EXPECT_EQ(sent(), (QStringList{"23", "6b 00"}));
    EXPECT_TRUE(fake.calls()[1].endsWith("01 05 6b 00 01 93 ff)")) << "a fresh snapshot";
    EXPECT_EQ(record.TaskTotal, 8);
    EXPECT_EQ(record.FaultCode, 3);
}

TEST_F(StatusFetch, OnlyGroupsThatAKeyRefersToAreFetched) {
    controller.start(0, 9, 4);   // key byte 2: tasks up to 16
    controller.start(9, 20, 6);  // key byte 3: tasks up to 24
    controller.start(0, 16, 5);
    record.TaskStep[9] = 77;
    controller.tamper = [](int, int offset, QByteArray reply) {
        if (offset == 8) reply[reply.size() - 2] = char(reply[reply.size() - 2] + 1);
        return reply;
    };
    ASSERT_TRUE(fetch());
    EXPECT_EQ(sent(), (QStringList{"23", "6b 00", "6b 08", "6b 10"}));
    EXPECT_TRUE(fake.calls()[2].contains("6b 08 00")) << "later groups read the same snapshot";
    EXPECT_EQ(record.TaskStep[9], 77) << "a failed group is skipped";
    EXPECT_EQ(record.TaskStep[16], 5);

    controller.tamper = nullptr;
    fake.clearCalls();
    ASSERT_TRUE(fetch());
    EXPECT_EQ(sent().size(), 5) << "task 9's key now names task 20";
    EXPECT_EQ(record.TaskStep[20], 6);
}

TEST_F(StatusFetch, EventsRunEveryOtherGroupAndMayEndTheFetch) {
    controller.start(0, 60, 2);  // refers to every group
    ASSERT_TRUE(fetch());
    EXPECT_EQ(sent().size(), 9);
    EXPECT_EQ(pumps, 3);
    fake.clearCalls();
    keepGoing = false;
    EXPECT_TRUE(fetch());
    EXPECT_EQ(sent(), (QStringList{"23", "6b 00", "6b 08"}));
}

TEST_F(StatusFetch, BanksAreNumberedFromOneBelowModelTen) {
    controller.start(0, 9, 4);  // bank 2 holds task 9, bank 3 may hold task 16
    controller.faultDatum = -4;
    controller.serveBanks(fake, 0);
    readTaskBanks(context, record, pumpCheck);
    EXPECT_EQ(banksRead(),
              (QStringList{"ZlGetTaskBank(7, 1)", "ZlGetTaskBank(7, 2)", "ZlGetTaskBank(7, 3)"}));
    EXPECT_EQ(pumps, 0);
    EXPECT_EQ(record.TaskTotal, 32);
    EXPECT_EQ(record.TaskStep[9], 4);
    EXPECT_EQ(record.TaskStep[10], kTaskNotExecuted);
    EXPECT_EQ(record.FaultDatum, -4);
}

TEST_F(StatusFetch, BanksFrom65WithEventsBeforeEvenNumbersFromModelTen) {
    state.connection.ModelCode = 10;
    controller.start(0, 40, 3);  // high key word
    controller.serveBanks(fake, 64);
    QList<qsizetype> readBeforePump;
    readTaskBanks(context, record, [&] { return readBeforePump << banksRead().size(), true; });
    EXPECT_EQ(banksRead().size(), 6);
    EXPECT_EQ(banksRead().last(), "ZlGetTaskBank(7, 70)");
    EXPECT_EQ(readBeforePump, (QList<qsizetype>{1, 3, 5})) << "before banks 66, 68 and 70";
    EXPECT_EQ(record.TaskTotal, 64);
    EXPECT_EQ(record.TaskStep[40], 3);
}

TEST_F(StatusFetch, AFailedBankReadEndsTheTick) {
    controller.start(0, 9, 4);
    controller.serveBanks(fake, 0);
    fake.queueResults(ZelCall::GetTaskBank, {1, 0});
    fake.setError(105, "Link lost");
    try {
        readTaskBanks(context, record, pumpCheck);
        ADD_FAILURE() << "no PollingError";
    } catch (const PollingError& e) {
        EXPECT_TRUE(QString(e.what()).startsWith("Failed to read task bank 2.\nLink lost"));
    }
    EXPECT_EQ(banksRead().size(), 2);
}
