// The validity tests of the raw status replies and the fields they carry.
#include <gtest/gtest.h>

#include "tests/status/packet_controller.h"
#include "status/status_packet.h"

using namespace zel::status;
using zel::test::PacketController;
using zel::test::sealReply;

TEST(StatusPacket, AReplyFailingAnyTestIsNoReply) {
    const QByteArray good = sealReply(QByteArray::fromHex("2d010c3412feffffff"));
    const auto header = parseStatusReply(good + QByteArray(500, '\xAA'));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->faultStep, 0x1234);
    EXPECT_EQ(header->faultDatum, -2);
    QByteArray checksumOffByOne = good, lastNot255 = good, lengthPastBuffer = good;
    checksumOffByOne[10] = char(good[10] + 1);
    lastNot255[11] = char(254);
    lengthPastBuffer[0] = char(12);
    const QByteArray tooShort = sealReply(QByteArray::fromHex("2d0000000000000000").chopped(1));
    const QByteArray wrongCode = sealReply(QByteArray::fromHex("2e0000000000000000"));
    for (const QByteArray& reply :
         {checksumOffByOne, lastNot255, lengthPastBuffer, tooShort, wrongCode, QByteArray()})
        EXPECT_FALSE(parseStatusReply(reply)) << reply.toHex(' ').toStdString();
}

TEST(StatusPacket, TaskRecordsAreSizedByTheTaskTotal) {
    PacketController controller(64);  // 8 key bytes: two words a task
    controller.start(0, 40, 7);
    controller.setStep(2, 65536);
    const auto group = parseTaskGroupReply(controller.groupReply(0), 0);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->records[0].keys[1], 1u << 7);
    EXPECT_EQ(group->records[2].step, kTaskNotExecuted);
    EXPECT_FALSE(parseTaskGroupReply(controller.groupReply(8), 0)) << "offset not the one asked";

    QByteArray body = PacketController(8).groupReply(0).mid(1);
    body.chop(2);
    EXPECT_FALSE(parseTaskGroupReply(sealReply(body.chopped(1)), 0)) << "a byte short";
    body[1] = char(9);  // nine tasks need two key bytes a record
    EXPECT_FALSE(parseTaskGroupReply(sealReply(body), 0));
}
