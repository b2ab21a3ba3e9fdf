#include "transfer/program_transfer.h"

#include <QCoreApplication>
#include <QFile>
#include <exception>

#include "link/lib_error.h"
#include "link/link_claim.h"
#include "link/link_session.h"

namespace zel {

// A transfer from its start to its end: the link's claim keeps everything else off the
// controller and the pointer shows the wait, however the transfer ends.
class ProgramTransfer::Running {
public:
    explicit Running(ProgramTransfer& t) : t_(t), claim_(t.state_, LinkUse::Transfer) {
        if (!claim_) {
            t_.view_.setStatus(kLinkClaimedMessage);
            return;
        }
        t_.running_ = true;
        t_.view_.setBusy(true);
    }
    ~Running() {
        if (!claim_) return;
        t_.running_ = false;
        t_.view_.setBusy(false);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    // False, with the reason shown, while another transfer holds the link.
    bool held() const { return claim_.held(); }

private:
    ProgramTransfer& t_;
    LinkClaim claim_;
};

ProgramTransfer::ProgramTransfer(AppState& state, ZelLibrary& library, ProgramTransferView& view)
    : state_(state),
      library_(library),
      view_(view),
      companion_(library, view, [] { QCoreApplication::processEvents(); },
                 [this](const QString& message) { ReportLinkError(message); }) {}

void ProgramTransfer::load() {
    view_.setStatus({});
    state_.settings.BaudRate = 9600;
}

std::optional<QString> ProgramTransfer::chooseDsoFile(const QString& title,
                                                      const QString& initialName, bool save) {
    return view_.chooseFile({title, initialName, QStringLiteral("DSO"),
                             {QStringLiteral("DSP Binaries (*.DSO)"),
                              QStringLiteral("All Files (*.*)")},
                             save});
}

QString ProgramTransfer::OpenDSOFile(const QString& initialName) {
    for (;;) {
        const std::optional<QString> name =
            chooseDsoFile(QStringLiteral("Select Tavrel Object File"), initialName, false);
        if (!name) return {};
        if (name->isEmpty())
            view_.messageBox(QStringLiteral("Please select a file to download."),
                             TransferIcon::Exclamation);
        else if (!QFile::exists(*name))
            view_.messageBox(QStringLiteral("File entered does not exist."),
                             TransferIcon::Exclamation);
        else
            return *name;
    }
}

QString ProgramTransfer::SaveDSOFile(const QString& initialName) {
    for (;;) {
        const std::optional<QString> name =
            chooseDsoFile(QStringLiteral("Enter Tavrel Object File"), initialName, true);
        if (!name) return {};
        if (name->isEmpty()) {
            view_.messageBox(QStringLiteral("Please select a file."), TransferIcon::Exclamation);
            continue;
        }
        if (!QFile::exists(*name)) return *name;
        if (view_.askOkCancel(*name + QStringLiteral(" already exists. Do you want to overwrite ?"))) {
            if (QFile::remove(*name)) return *name;
            view_.messageBox(QStringLiteral("Cannot delete ") + *name, TransferIcon::Exclamation);
        }
    }
}

ProgramTransfer::Outcome ProgramTransfer::run(LibraryCall call, const QString& path,
                                              TransferResult& result) {
    Outcome outcome;
    const int32_t handle = state_.connection.CommHandle;
    outcome.result = (library_.*call)(handle, path, result);
    if (outcome.result != 1) library_.ZlGetErrorInfo(handle, outcome.error);
    return outcome;
}

void ProgramTransfer::DownloadProgram() {
    if (running_) return;
    try {
        download();
    } catch (const std::exception& e) {
        view_.setBusy(false);
        view_.messageBox(QString::fromLocal8Bit(e.what()), TransferIcon::Exclamation);
    }
}

void ProgramTransfer::download() {
    const QString path = OpenDSOFile({});
    if (path.isEmpty() || !ConnectionReady()) return;
    const Running running(*this);
    if (!running.held()) return;
    // Its outcome does not stop the program download.
    companion_.download(state_.connection.CommHandle, path);
    view_.setBusy(true);
    view_.setStatus(QStringLiteral("Downloading ") + path);
    TransferResult result;
    const Outcome outcome = run(&ZelLibrary::ZlDownload, path, result);
    if (outcome.result != 1) {
        view_.setStatus(QStringLiteral("Failed to Download!"));
        reportLinkError(QStringLiteral("Failed to download ") + path + QStringLiteral(".\n"),
                        outcome.error);
        return;
    }
    view_.setStatus(QStringLiteral("Download Complete!"));
    view_.messageBox(path + QStringLiteral(" downloaded.\n\nbytes : %1\nerrors : %2\n"
                                           "warnings : %3\n")
                                .arg(result.bytes)
                                .arg(result.errors)
                                .arg(result.warnings),
                     TransferIcon::Information);
    if (library_.ZlCloseConnection(state_.connection.CommHandle) == 1)
        linkClosed();
    else
        ReportLinkError(QStringLiteral("Error closing network.\n"));
}

void ProgramTransfer::UploadProgram() {
    if (running_) return;
    try {
        upload();
    } catch (const std::exception& e) {
        view_.setBusy(false);
        view_.messageBox(QString::fromLocal8Bit(e.what()), TransferIcon::Exclamation);
        CloseLink();
    }
}

void ProgramTransfer::upload() {
    const QString path = SaveDSOFile({});
    if (path.isEmpty()) return;
    // Asked before the link is checked.
    const bool withRegisters = view_.askYesNo(QStringLiteral("Upload Controller Register Values?"));
    if (!ConnectionReady()) return;
    const Running running(*this);
    if (!running.held()) return;
    view_.setStatus(QStringLiteral("Uploading ") + path);
    TransferResult result;
    const Outcome outcome = run(&ZelLibrary::ZlUpload, path, result);
    view_.setStatus({});
    QCoreApplication::processEvents();
    if (outcome.result == 1) {
        int32_t model = 0;
        int32_t layout = 0;
        if (withRegisters &&
            library_.ZlGetModel(state_.connection.CommHandle, model, layout) == 1)
            companion_.upload(state_.connection.CommHandle, static_cast<int16_t>(layout), path);
        closeAfterUpload();
        view_.messageBox(QStringLiteral("Program uploaded to ") + path, TransferIcon::Information);
    } else {
        reportLinkError(QStringLiteral("Failed to upload ") + path + QStringLiteral(".\n"),
                        outcome.error);
        closeAfterUpload();
    }
}

void ProgramTransfer::closeAfterUpload() {
    if (library_.ZlCloseConnection(state_.connection.CommHandle) == 1) {
        linkClosed();
        return;
    }
    fetchLibError(library_, state_);
    view_.messageBox(QStringLiteral("Error closing connection.\n") + state_.LibError.text,
                     TransferIcon::Exclamation);
}

void ProgramTransfer::ReportLinkError(const QString& message) {
    fetchLibError(library_, state_);
    reportLinkError(message, state_.LibError);
}

void ProgramTransfer::reportLinkError(const QString& message, const LibErrorRecord& error) {
    view_.messageBox(message + QStringLiteral("Error: ") + error.text, TransferIcon::Exclamation);
}

void ProgramTransfer::CloseLink() {
    if (state_.connection.CommHandle == 0) return;
    if (library_.ZlCloseConnection(state_.connection.CommHandle) == 1)
        linkClosed();
    else
        view_.messageBox(QStringLiteral("Failed to CLOSE connection."), TransferIcon::Exclamation);
}

// The error flag makes the end of the next polling tick count the link as lost, so the tick
// after it makes the link again, as after any lost connection.
void ProgramTransfer::linkClosed() {
    forgetLink(state_);
    state_.flags.CommErrorFlag = true;
}

}  // namespace zel
