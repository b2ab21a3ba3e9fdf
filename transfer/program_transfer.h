// Moving the controller's program between a program object file (*.DSO) and the controller.
// The library call runs on the link thread while this thread keeps handling events, so the
// window stays responsive; a second request while one runs is refused. After a successful
// download, and after every upload, the connection is closed and the main window opens it again
// when it next needs it.
#pragma once

#include <QString>
#include <optional>

#include "common/app_state.h"
#include "link/zel_library.h"
#include "transfer/companion_registers.h"
#include "transfer/program_transfer_view.h"

namespace zel {

class ProgramTransfer {
public:
    ProgramTransfer(AppState& state, ZelLibrary& library, ProgramTransferView& view);

    // The window's load: an empty status line and 9600 baud for the next serial connection.
    void load();

    // An existing program object file, or "" when cancelled.
    QString OpenDSOFile(const QString& initialName);
    // A name to write to, an existing file of that name deleted once the user agreed; "" when
    // cancelled.
    QString SaveDSOFile(const QString& initialName);

    void DownloadProgram();
    void UploadProgram();

    bool ConnectionReady() const { return state_.connection.LinkConfigured; }
    // The message, then the library's error text for the current connection.
    void ReportLinkError(const QString& message);
    void CloseLink();

    bool running() const { return running_; }

private:
    struct Outcome {
        int32_t result = 0;
        LibErrorRecord error;
    };
    using LibraryCall = int32_t (ZelLibrary::*)(int32_t, const QString&, TransferResult&);

    class Running;

    std::optional<QString> chooseDsoFile(const QString& title, const QString& initialName,
                                         bool save);
    // Makes the call and takes its error record at once, before another call can replace it.
    Outcome run(LibraryCall call, const QString& path, TransferResult& result);
    void reportLinkError(const QString& message, const LibErrorRecord& error);
    void download();
    void upload();
    void closeAfterUpload();
    void linkClosed();

    AppState& state_;
    ZelLibrary& library_;
    ProgramTransferView& view_;
    CompanionRegisters companion_;
    bool running_ = false;
};

}  // namespace zel
