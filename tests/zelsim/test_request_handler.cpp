// Request frames in, reply frames out: body checking, addressing, table and program transfer.
#include <gtest/gtest.h>

#include <string>

#include "dso.h"
#include "frame_client.h"
#include "protocol.h"
#include "request_handler.h"
#include "wire.h"

namespace zel::sim {
namespace {

using codec::Op;
using Bytes = std::vector<uint8_t>;
using zel::test::i32s;

class Handler : public ::testing::Test {
protected:
    Handler() {
        ModelInfo m;
        m.code = 5;
        m.second = 1;
        m.io = IoCounts{64, 16, 16, 0, 4, 8, 4};
        m.misc = MiscCounts{1, 2, 3, 4};
        controller = std::make_unique<Controller>(m);
        controller->table() = DataTable(3, 4);
        store = std::make_unique<ProgramStore>(*controller);
        handler = std::make_unique<RequestHandler>(*controller, *store);
    }

    codec::Frame call(Op op, Bytes body) {
        codec::Frame f;
        f.id = ++id;
        f.opcode = static_cast<uint16_t>(op);
        f.source_node = 4;
        f.target_node = 9;
        f.body = std::move(body);
        return handler->handle(f);
    }

    static Bytes plus(Bytes a, const Bytes& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    std::unique_ptr<Controller> controller;
    std::unique_ptr<ProgramStore> store;
    std::unique_ptr<RequestHandler> handler;
    uint32_t id = 100;
};

TEST_F(Handler, ReplyIsAddressedBackAndKeepsIdAndOpcode) {
    const auto r = call(Op::GetModel, {});
    EXPECT_EQ(r.type, codec::FrameType::Reply);
    EXPECT_EQ(r.id, id);
    EXPECT_EQ(r.opcode, static_cast<uint16_t>(Op::GetModel));
    EXPECT_EQ(r.source_node, 9);
    EXPECT_EQ(r.target_node, 4);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.body, i32s({5, 1}));
    EXPECT_EQ(call(Op::GetIoCount, {}).body, i32s({64, 16, 16, 0, 4, 8, 4}));
    EXPECT_EQ(call(Op::GetMiscIoCount, {}).body, i32s({1, 2, 3, 4}));
}

TEST_F(Handler, BodiesWithMissingOrExtraBytesAreBadArguments) {
    const std::vector<std::pair<Op, Bytes>> wellFormed{
        {Op::GetRegister, i32s({1})},
        {Op::PutRegister, i32s({1, 2})},
        {Op::GetVRegister, i32s({36001})},
        {Op::SetVRegister, plus(i32s({36001}), Bytes(8, 0))},
        {Op::PutFlag, plus(i32s({1}), {1, 0})},
        {Op::GetStatus, {}},
        {Op::PutStatus, i32s({0})},
        {Op::GetConfig, {}},
        {Op::PutConfig, i32s({1})},
        {Op::GetTaskBank, i32s({1})},
        {Op::GetTableDim, {}},
        {Op::GetTableRow, i32s({1, 1, 4})},
        {Op::DownloadEnd, i32s({0})},
        {Op::UploadBegin, {}},
        {Op::GetRegisterRange, plus(i32s({1}), {16, 0})}};
    for (const auto& [op, body] : wellFormed) {
        const int code = static_cast<int>(op);
        EXPECT_NE(call(op, body).status, ZL_ERR_BAD_ARGUMENT) << code;
        EXPECT_EQ(call(op, plus(body, {0})).status, ZL_ERR_BAD_ARGUMENT) << "long " << code;
        if (!body.empty()) {
            EXPECT_EQ(call(op, Bytes(body.begin(), body.end() - 1)).status, ZL_ERR_BAD_ARGUMENT)
                << "short " << code;
        }
    }
}

TEST_F(Handler, ErrorsComeBackWithAnEmptyBody) {
    const auto absent = call(Op::GetRegister, i32s({1017}));
    EXPECT_EQ(absent.status, ZL_ERR_NOT_PRESENT);
    EXPECT_TRUE(absent.body.empty());
    EXPECT_EQ(call(Op::GetRegister, i32s({20048})).status, ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_EQ(call(static_cast<Op>(0x7F), {}).status, ZL_ERR_UNKNOWN_REQUEST);
    EXPECT_EQ(call(Op::SendData, {20}).status, ZL_ERR_BAD_ARGUMENT);
    EXPECT_EQ(call(Op::SendData, {19, 1, 4, 35, 255, 221, 255}).status, ZL_ERR_BAD_ARGUMENT);
    EXPECT_EQ(call(Op::SendData, {20, 1, 4, 35, 255, 221, 255}).body.size(), 12u);
}

TEST_F(Handler, RegisterRangesReadInOneGoAndPadPastTheLastRegister) {
    controller->putRegister(39999, 5);
    const auto r = call(Op::GetRegisterRange, plus(i32s({39993}), {16, 0}));
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.body.size(), 64u);
    codec::ByteReader in(r.body);
    for (int n = 39993; n <= 40008; ++n) EXPECT_EQ(*in.i32(), n == 39999 ? 5 : 0) << n;
    EXPECT_EQ(call(Op::GetRegisterRange, plus(i32s({1}), {51, 0})).status, ZL_ERR_BAD_ARGUMENT);
    EXPECT_EQ(call(Op::GetRegisterRange, plus(i32s({1010}), {10, 0})).status, ZL_ERR_NOT_PRESENT);
}

TEST_F(Handler, TableRowsAreCheckedAgainstTheTable) {
    const Bytes row = plus(i32s({2, 2, 3}), {0x40, 0x9C, 0xFF, 0xFF});  // 40000, -1 as u16
    ASSERT_EQ(call(Op::PutTableRow, row).status, 0);
    const auto r = call(Op::GetTableRow, i32s({2, 1, 4}));
    EXPECT_EQ(r.body, (Bytes{0, 0, 0x40, 0x9C, 0xFF, 0xFF, 0, 0}));
    EXPECT_EQ(call(Op::PutTableRow, plus(i32s({2, 2, 3}), {1, 0})).status, ZL_ERR_BAD_ARGUMENT);
    EXPECT_EQ(call(Op::GetTableRow, i32s({4, 1, 1})).status, ZL_ERR_BAD_TABLE_ROW);
    EXPECT_EQ(call(Op::GetTableRow, i32s({1, 1, 5})).status, ZL_ERR_BAD_TABLE_ROW);
    EXPECT_EQ(call(Op::GetTableRow, i32s({1, 3, 2})).status, ZL_ERR_BAD_TABLE_ROW);
    controller->table() = DataTable();
    EXPECT_EQ(call(Op::GetTableDim, {}).body, i32s({0, 0}));
    EXPECT_EQ(call(Op::GetTableRow, i32s({1, 1, 1})).status, ZL_ERR_NO_DATA_TABLE);
}

class Transfer : public Handler {
protected:
    codec::Frame download(const Bytes& file, uint32_t crc) {
        EXPECT_EQ(call(Op::DownloadBegin, i32s({static_cast<int32_t>(file.size())})).status, 0);
        for (size_t at = 0; at < file.size(); at += 1024) {
            Bytes chunk = i32s({static_cast<int32_t>(at)});
            chunk.insert(
                chunk.end(), file.begin() + static_cast<std::ptrdiff_t>(at),
                file.begin() + static_cast<std::ptrdiff_t>(std::min(at + 1024, file.size())));
            EXPECT_EQ(call(Op::DownloadChunk, chunk).status, 0);
        }
        return call(Op::DownloadEnd, i32s({static_cast<int32_t>(crc)}));
    }

    static Program bigProgram() {
        Program p;
        for (int n = 1; n <= 60; ++n) p.steps[n] = Step{n, 100, n + 1, {}, {}, std::nullopt};
        p.steps[60].next = 99;  // a dangling reference: a warning, not an error
        return p;
    }
};

TEST_F(Transfer, DownloadLoadsTheProgramAndUploadGivesTheSameBytesBack) {
    const Bytes file = encodeDso(bigProgram());
    ASSERT_GT(file.size(), 2048u);
    controller->putStatus(1);
    const auto end = download(file, codec::crc32(file));
    ASSERT_EQ(end.status, 0);
    EXPECT_EQ(end.body, i32s({static_cast<int32_t>(codec::crc32(file)),
                              static_cast<int32_t>(file.size()), 0, 1}));
    EXPECT_EQ(controller->status(), 9);  // the new program waits, reset and stopped
    EXPECT_EQ(controller->program().steps.size(), 60u);

    const auto begin = call(Op::UploadBegin, {});
    codec::ByteReader in(begin.body);
    EXPECT_EQ(*in.u32(), file.size());
    EXPECT_EQ(*in.u32(), codec::crc32(file));
    Bytes back;
    for (uint32_t at = 0; at < file.size(); at += 1024) {
        Bytes req = i32s({static_cast<int32_t>(at)});
        req.insert(req.end(), {0x00, 0x04});
        const auto chunk = call(Op::UploadChunk, req);
        ASSERT_EQ(chunk.status, 0);
        back.insert(back.end(), chunk.body.begin(), chunk.body.end());
    }
    EXPECT_EQ(back, file);
}

TEST_F(Transfer, BadFilesAndOutOfOrderChunksAreRefusedAndTheOldProgramStays) {
    const Bytes good = encodeDso(bigProgram());
    EXPECT_EQ(download(good, codec::crc32(good) ^ 1).status, ZL_ERR_BAD_VALUE);
    const std::string text = "this is not a program";
    const Bytes junk(text.begin(), text.end());
    EXPECT_EQ(download(junk, codec::crc32(junk)).status, ZL_ERR_PROGRAM_REJECTED);
    const std::string almost = "ZELDSO1\n{\"steps\": [{\"number\": 0}]}";
    const Bytes bad(almost.begin(), almost.end());
    EXPECT_EQ(download(bad, codec::crc32(bad)).status, ZL_ERR_PROGRAM_REJECTED);
    EXPECT_TRUE(controller->program().steps.empty());

    EXPECT_EQ(call(Op::DownloadChunk, i32s({0, 1})).status, ZL_ERR_TRANSFER_STATE);
    ASSERT_EQ(call(Op::DownloadBegin, i32s({8})).status, 0);
    EXPECT_EQ(controller->status() & kStatusProgramming, kStatusProgramming);
    EXPECT_EQ(call(Op::DownloadChunk, i32s({4, 1})).status, ZL_ERR_TRANSFER_STATE);
    EXPECT_EQ(call(Op::DownloadEnd, i32s({0})).status, ZL_ERR_TRANSFER_STATE);
    EXPECT_EQ(call(Op::UploadChunk, plus(i32s({0}), {1, 0})).status, ZL_ERR_TRANSFER_STATE);
}

}  // namespace
}  // namespace zel::sim
