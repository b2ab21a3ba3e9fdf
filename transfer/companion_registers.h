// The companion register file of a program transfer: the program object file's name with
// ".txt" in place of its last four characters. An upload writes the controller's registers into
// it after the program; a download writes its registers into the controller before the program.
// Both run on the user-interface thread and let events run through the pump at their chunks,
// while the program transfer's busy flag keeps the polling tick off the link.
#pragma once

#include <QFile>
#include <QString>
#include <cstdint>
#include <functional>

#include "common/event_pump.h"
#include "link/zel_library.h"
#include "transfer/program_transfer_view.h"

namespace zel {

// "LINE1.DSO" pairs with "LINE1.txt".
QString companionRegisterFile(const QString& programPath);

class CompanionRegisters {
public:
    // The message, then the library's error text, as the program transfer reports it.
    using LinkErrorReport = std::function<void(const QString& message)>;

    CompanionRegisters(ZelLibrary& library, ProgramTransferView& view, EventPump pump,
                       LinkErrorReport reportLinkError);

    // UploadCompanionRegisters: block layout when `layout` is not 0.
    void upload(int32_t handle, int16_t layout, const QString& programPath);
    // DownloadCompanionRegisters: nothing is asked when the program has no companion file.
    void download(int32_t handle, const QString& programPath);

private:
    bool uploadBlocks(QFile& out);
    bool uploadBanks(QFile& out);
    void uploadSingles(QFile& out);
    void abandonUpload();
    void failedToWrite(const QFile& file);
    bool readable(int32_t number, int32_t& value);
    FileProgressView& progress() { return view_.fileProgress(); }
    void pump() {
        if (pump_) pump_();
    }

    ZelLibrary& library_;
    ProgramTransferView& view_;
    EventPump pump_;
    LinkErrorReport reportLinkError_;
    int32_t handle_ = 0;
};

}  // namespace zel
