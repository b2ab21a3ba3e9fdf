// Register value files from the main window: upload reads the controller's registers into a
// file, download writes a file's values back. What is read depends on the controller's model
// code: general registers one at a time (simple layout), or in blocks followed by the
// non-volatile banks the controller has (block layout), and the V-registers on model 5. Both
// run to completion on the user-interface thread and let events run through the pump.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "common/app_state.h"
#include "common/event_pump.h"
#include "link/zel_library.h"

namespace zel {

// What the transfers ask and show; the main window implements it.
class RegisterTransferView {
public:
    virtual ~RegisterTransferView() = default;
    // The Save dialog; empty when no name was chosen.
    virtual QString chooseSaveFile() = 0;
    // The Open dialog; empty optional when cancelled, empty text when no name was chosen.
    virtual std::optional<QString> chooseOpenFile() = 0;
    // A Yes/No question; true for Yes.
    virtual bool confirm(const QString& question) = 0;
    // The main window's status line, refreshed at once.
    virtual void setMessage(const QString& text) = 0;
    // The busy pointer over the application.
    virtual void setBusy(bool busy) = 0;
};

class RegisterTransfer {
public:
    RegisterTransfer(AppState& state, ZelLibrary& library, RegisterTransferView& view,
                     EventPump pump);

    // UploadRegisterFile: controller to file.
    void upload();
    // DownloadRegisterFile: file to controller.
    void download();

private:
    class Scope;

    int32_t handle() const { return state_.connection.CommHandle; }
    int32_t model() const { return state_.connection.ModelCode; }
    // Models 3 and above 4 keep registers in blocks and have non-volatile banks.
    bool blockLayout() const { return model() == 3 || model() > 4; }
    // Register 36001 answers and the model is one that has eight banks.
    bool hasEightBanks();
    bool readable(int32_t number);
    void pump(int times = 1);
    bool refusedWhileClaimed();

    // Each appends its lines to the file's text, written out once when the reads end.
    bool uploadBlocks(QByteArray& lines);
    bool uploadBanks(QByteArray& lines);
    void uploadVRegisters(QByteArray& lines);

    AppState& state_;
    ZelLibrary& library_;
    RegisterTransferView& view_;
    EventPump pump_;
};

}  // namespace zel
