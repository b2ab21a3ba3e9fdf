#include <gtest/gtest.h>

#include "link/fake/fake_zel_library.h"
#include "link/link_session.h"

namespace zel {
namespace {

TEST(LinkSessionTest, StateComesFromTheFlags) {
    struct Case {
        bool tableUpload, download, suspended, reconnect, noCommunication;
        LinkState expected;
    };
    const Case cases[] = {
        {false, false, false, false, false, LinkState::Connected},
        {false, false, false, false, true, LinkState::Lost},
        {false, false, false, true, true, LinkState::Reconnecting},
        {false, false, true, true, true, LinkState::Suspended},
        // Until the reconnection or suspension takes the link down, it still works.
        {false, false, true, true, false, LinkState::Connected},
        {true, false, true, true, true, LinkState::Claimed},
        {false, true, false, false, false, LinkState::Claimed},
    };
    for (const Case& c : cases) {
        AppState state;
        MonitoringFlags& f = state.flags;
        f.TableUploadBusy = c.tableUpload;
        f.DownloadBusy = c.download;
        f.UserSuspended = c.suspended;
        f.ReconnectPending = c.reconnect;
        f.NoCommunication = c.noCommunication;
        EXPECT_EQ(linkState(state), c.expected)
            << c.tableUpload << c.download << c.suspended << c.reconnect << c.noCommunication;
    }
}

// A refused close still forgets the handle, after the caller has heard of the refusal while
// the handle was still there to fetch its error for.
TEST(LinkSessionTest, CloseForgetsTheHandleWhateverTheLibraryAnswers) {
    struct Case {
        int32_t handle, closeResult;
        bool closed;
        QStringList calls;
        int32_t handleWhenRefused;
    };
    const Case cases[] = {
        {0, 1, true, {}, -1},
        {-3, 1, true, {}, -1},  // a failed open recorded no handle
        {7, 1, true, {"ZlCloseConnection(7)"}, -1},
        {7, 0, false, {"ZlCloseConnection(7)"}, 7},
    };
    for (const Case& c : cases) {
        AppState state;
        FakeZelLibrary lib;
        lib.setDefaultResult(ZelCall::CloseConnection, c.closeResult);
        linkOpened(state, c.handle);
        int32_t handleWhenRefused = -1;
        const bool closed =
            closeLink(state, lib, [&] { handleWhenRefused = state.connection.CommHandle; });
        EXPECT_EQ(closed, c.closed) << c.handle << " " << c.closeResult;
        EXPECT_EQ(lib.calls(), c.calls);
        EXPECT_EQ(handleWhenRefused, c.handleWhenRefused);
        EXPECT_EQ(state.connection.CommHandle, 0);
    }
}

}  // namespace
}  // namespace zel
