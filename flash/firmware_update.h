// The firmware update of frmProgFlash: puts a 4815 CPU module, a 4826/4826N communication
// module or a 7400 Series Controller into its boot loader through the library, switches the
// serial line to the firmware baud rate and sends the image's records one line at a time with
// XON/XOFF pacing, logging every step newest first. Polling stays off while it runs; the
// connection is closed afterwards and the main window opens it again.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "common/app_state.h"
#include "common/event_pump.h"
#include "firmware/firmware_image.h"
#include "firmware/image_check.h"
#include "flash/firmware_update_view.h"
#include "link/zel_library.h"

namespace zel {

// The module index of Combo1.
enum class FlashModule { Cpu4815 = 0, Comm4826 = 1, Unit7400 = 2 };

// The support code that unlocks the 7400 entry when the settings name none.
inline constexpr char kDefaultSupportCode[] = "ZEL-7400";

class FirmwareUpdate {
public:
    // Waits the given seconds while window events run (Delay in the monitor).
    using Wait = std::function<void(double seconds)>;

    FirmwareUpdate(AppState& state, ZelLibrary& library, FirmwareUpdateView& view,
                   FirmwareHost& host, Wait wait, EventPump pump);
    ~FirmwareUpdate();

    // The window's load: Combo1's items, the first selected.
    void load();
    void selectModule(int index) { module_ = index; }

    // SSCommand1, "Start Update".
    void StartUpdate();
    // Command1: the next firmware baud rate.
    void cycleBaud();
    // Command2: the support code that adds the 7400 entry.
    void enterSupportCode();

    int firmwareBaud() const;
    const QString& logText() const { return log_; }
    bool running() const { return running_; }

private:
    enum class Outcome { Completed, Failed, Ended };

    Outcome update(FlashModule m);
    Outcome identifyAndRequest(FlashModule m);
    Outcome selectionPath(FlashModule m);
    Outcome sendImage(FlashModule m);
    Outcome sendLines();
    void confirmBoot();
    bool openLink(int32_t baud, const QString& timeoutFailure);
    void cleanUp(int32_t baud, int32_t timeout);

    int32_t sendAscii(const QByteArray& text, int32_t endByte);
    // The library's error for the current connection: code, a blank and its text.
    QString errorText();
    // Puts the message in front of Text1's text and in the monitor's log.
    void logBelow(const QString& message);
    void setLog(const QString& text);

    AppState& state_;
    ZelLibrary& library_;
    FirmwareUpdateView& view_;
    FirmwareHost& host_;
    Wait wait_;
    EventPump pump_;

    QStringList modules_;
    int module_ = 0;
    int baudIndex_ = 0;
    QString log_;
    bool running_ = false;

    // Per update.
    QString imagePath_;
    std::unique_ptr<firmware::FirmwareImage> image_;
    firmware::ImageCheck check_;
    QString tag_;
    QString moduleName_;
    QByteArray reply_;
};

}  // namespace zel
