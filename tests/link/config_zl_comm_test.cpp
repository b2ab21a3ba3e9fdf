#include <gtest/gtest.h>

#include "link/connection_manager.h"
#include "link/fake/fake_zel_library.h"
#include "recording_ui.h"

namespace zel {
namespace {

class ConfigZLCommTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        lib.setIoCounts({64, 32, 24, 2, 8, 4, 4});
        lib.setMiscIoCounts({1, 2, 3, 4});
        lib.setStatusWord(0x0B);
        lib.setConfigWord(5);
    }

    AppState state;
    FakeZelLibrary lib;
    RecordingUi ui;
    ConnectionManager manager{state, lib, ui};
};

const QList<ZelCall> kCountsOnly = {ZelCall::GetModel, ZelCall::GetIoCount};
const QList<ZelCall> kEverything = {ZelCall::GetModel, ZelCall::GetIoCount, ZelCall::GetMiscIoCount,
                                    ZelCall::GetStatus, ZelCall::GetConfig};

TEST_F(ConfigZLCommTest, ModelClassDecidesTaskCountAndFurtherReads) {
    const struct {
        int32_t model;
        int32_t tasks;
        bool readsWords;
    } classes[] = {{-1, 16, false}, {1, 16, false},  {3, 32, true},  {4, 16, false},
                   {5, 32, true},   {9, 32, true},   {10, 64, true}, {11, 64, true},
                   {12, 128, true}, {200, 128, true}};
    for (const auto& c : classes) {
        SCOPED_TRACE(c.model);
        AppState fresh;
        fresh.connection.CommHandle = FakeZelLibrary::kHandle;
        FakeZelLibrary controller;
        controller.setModel(c.model, 0);
        controller.setStatusWord(0x0B);
        ConnectionManager config(fresh, controller, ui);

        EXPECT_TRUE(config.ConfigZLComm());

        EXPECT_EQ(fresh.connection.TaskCount, c.tasks);
        EXPECT_EQ(controller.callOrder(), c.readsWords ? kEverything : kCountsOnly);
        EXPECT_EQ(fresh.connection.ControllerStatusBits, c.readsWords ? 0x0B : kUnknownWord);
    }
}

TEST_F(ConfigZLCommTest, StoresModelCountsAndControllerWords) {
    lib.setModel(5, 1);
    EXPECT_TRUE(manager.ConfigZLComm());
    const ConnectionState& c = state.connection;
    EXPECT_TRUE(c.LinkConfigured);
    EXPECT_EQ(c.ModelCode, 5);
    EXPECT_TRUE(c.EATypeController);
    EXPECT_EQ(c.Counts.FlagCount(), 64);
    EXPECT_EQ(c.Counts.AnalogOutCount(), 4);
    EXPECT_EQ(c.Counts.DisplayCount(), 4);
    EXPECT_EQ(c.ControllerStatusBits, 0x0B);
    EXPECT_EQ(c.InputConfigBits, 5);
    EXPECT_EQ(lib.calls().first(), "ZlGetModel(7)");
}

TEST_F(ConfigZLCommTest, FailedModelOrCountReadLeavesTheLinkUnconfigured) {
    lib.setModel(5, 0);
    lib.queueResults(ZelCall::GetModel, {0});
    EXPECT_FALSE(manager.ConfigZLComm());
    EXPECT_FALSE(state.connection.LinkConfigured);
    EXPECT_EQ(lib.callOrder(), QList<ZelCall>({ZelCall::GetModel, ZelCall::GetErrorInfo}));

    lib.clearCalls();
    lib.queueResults(ZelCall::GetIoCount, {0});
    EXPECT_FALSE(manager.ConfigZLComm());
    EXPECT_EQ(lib.callOrder(),
              QList<ZelCall>({ZelCall::GetModel, ZelCall::GetIoCount, ZelCall::GetErrorInfo}));
    EXPECT_EQ(state.connection.Counts.FlagCount(), 0);
}

TEST_F(ConfigZLCommTest, FailedMiscCountReadKeepsOldCountsAndStillSucceeds) {
    lib.setModel(5, 0);
    lib.queueResults(ZelCall::GetMiscIoCount, {0});
    lib.queueResults(ZelCall::GetStatus, {0});
    EXPECT_TRUE(manager.ConfigZLComm());
    EXPECT_EQ(state.connection.Counts.PrototypeCount(), 0);
    EXPECT_EQ(state.connection.Counts.FlagCount(), 64);
    EXPECT_EQ(lib.callOrder(), kEverything);
}

}  // namespace
}  // namespace zel
