#include "flash/firmware_update.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <exception>
#include <optional>

#include "common/packet_checksum.h"
#include "firmware/image_check.h"
#include "firmware/module_models.h"
#include "firmware/sent_lines.h"
#include "flash/wake_up.h"
#include "link/lib_error.h"
#include "link/link_claim.h"
#include "link/link_session.h"

namespace zel {
namespace {

constexpr int32_t kModelRegister = 13008;
constexpr int32_t kFlashTimeoutMs = 5500;
constexpr int32_t kResetStatus = 8;
constexpr int32_t kStopStatus = 0;
constexpr int32_t kSendDataKind = 20;
constexpr char kXon = 17;
constexpr char kXoff = 19;
constexpr char kLineFeed = 10;
constexpr double kWakeUpWait = 0.5;

struct FirmwareBaud {
    int32_t rate;
    char digit;
};
constexpr std::array<FirmwareBaud, 3> kBauds{{{38400, '3'}, {9600, '9'}, {19200, '1'}}};

const QString kCompleted = QStringLiteral("COMPLETED");
const QString kFailed =
    QStringLiteral("DOWNLOAD FAILED, CYCLE CONTROLLER POWER BEFORE RETRYING DOWNLOAD");

QString moduleNumber(FlashModule m) {
    switch (m) {
        case FlashModule::Cpu4815: return QStringLiteral("4815");
        case FlashModule::Comm4826: return QStringLiteral("4826");
        case FlashModule::Unit7400: return QStringLiteral("740");
    }
    return {};
}

QString cableTarget(FlashModule m) {
    switch (m) {
        case FlashModule::Cpu4815:
            return QStringLiteral("the 4815 CPU module to be updated and press OK.");
        case FlashModule::Comm4826:
            return QStringLiteral("Comm 1 on the 4826/4826N module to be updated and press OK.");
        case FlashModule::Unit7400:
            return QStringLiteral("the 7400 Series Controller to be updated and press OK.");
    }
    return {};
}

const firmware::ModuleModel& modelOfCode(int code) {
    for (const auto& model : firmware::kModuleModels)
        if (model.code == code) return model;
    return firmware::kModuleModels.back();
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The models a module can be, in the order the model register is probed.
std::vector<const firmware::ModuleModel*> modelsOf(FlashModule m) {
    const auto codes = m == FlashModule::Cpu4815    ? std::vector<int>{11, 12, 14, 16}
                       : m == FlashModule::Unit7400 ? std::vector<int>{15}
                                                    : std::vector<int>{0};
    std::vector<const firmware::ModuleModel*> models;
    for (int code : codes) models.push_back(&modelOfCode(code));
    return models;
}

// The module as the refusal of an image without a section for it names it.
QString moduleName(FlashModule m) {
    switch (m) {
        case FlashModule::Cpu4815: return QStringLiteral("4815 CPU Module");
        case FlashModule::Comm4826: return latin1(modelOfCode(0).name);
        case FlashModule::Unit7400: return latin1(modelOfCode(15).name);
    }
    return {};
}

// The reply up to its line feed, without the carriage return before it; none without one.
std::optional<QString> lineOf(const QByteArray& reply) {
    const qsizetype end = reply.indexOf(kLineFeed);
    if (end < 0) return std::nullopt;
    QByteArray line = reply.left(end);
    if (line.endsWith('\r')) line.chop(1);
    return QString::fromLatin1(line);
}

}  // namespace

FirmwareUpdate::FirmwareUpdate(AppState& state, ZelLibrary& library, FirmwareUpdateView& view,
                               FirmwareHost& host, Wait wait, EventPump pump)
    : state_(state), library_(library), view_(view), host_(host), wait_(std::move(wait)),
      pump_(std::move(pump)) {}

FirmwareUpdate::~FirmwareUpdate() = default;

void FirmwareUpdate::load() {
    modules_ = {QStringLiteral("4815K/KP/KPZ CPU"), QStringLiteral("4826/4826N Comm/DeviceNet"),
                QStringLiteral("7400 Series Controller")};
    module_ = 0;
    view_.showModules(modules_, module_);
}

int FirmwareUpdate::firmwareBaud() const { return kBauds[baudIndex_].rate; }

void FirmwareUpdate::cycleBaud() {
    baudIndex_ = (baudIndex_ + 1) % static_cast<int>(kBauds.size());
    setLog(QStringLiteral("Firmware Update Baud Rate: ") + QString::number(firmwareBaud()));
}

void FirmwareUpdate::enterSupportCode() {
    if (state_.Support7400) return;
    const std::optional<QString> answer = view_.askText(QStringLiteral("Enter Support Code"));
    const QString code = state_.SupportCode.isEmpty() ? QString::fromLatin1(kDefaultSupportCode)
                                                      : state_.SupportCode;
    if (!answer || *answer != code) return;
    modules_.append(QStringLiteral("7400 Series Controller"));
    state_.Support7400 = true;
    view_.showModules(modules_, module_);
}

void FirmwareUpdate::StartUpdate() {
    if (running_) return;
    // The boot loader exchange lets events run; the claim keeps every other user off the link.
    std::optional<LinkClaim> claim(std::in_place, state_, LinkUse::Transfer);
    if (!*claim) {
        host_.setMessage(kLinkClaimedMessage);
        return;
    }
    running_ = true;
    host_.stopPollingTimer();
    const int32_t baud = state_.settings.BaudRate;
    const int32_t timeout = state_.settings.CommTimeout;
    view_.setBusyPointer(true);
    if (module_ >= 0 && module_ <= 2) {
        const auto m = static_cast<FlashModule>(module_);
        Outcome outcome;
        try {
            outcome = update(m);
        } catch (const std::exception& error) {
            view_.showError(QString::fromLocal8Bit(error.what()));
            outcome = Outcome::Failed;
        }
        if (outcome == Outcome::Completed)
            logBelow(m == FlashModule::Comm4826
                         ? QStringLiteral("COMPLETED: START CONTROLLER TO CONTINUE")
                         : kCompleted);
        else if (outcome == Outcome::Failed)
            logBelow(kFailed);
    } else {
        setLog(QStringLiteral("Module Not Yet Supported"));
    }
    cleanUp(baud, timeout);
    // Given back first: the polling resumed here makes the link again at once.
    claim.reset();
    if (!state_.flags.UserSuspended) host_.resumePolling();
    running_ = false;
}

FirmwareUpdate::Outcome FirmwareUpdate::update(FlashModule m) {
    if (!isSerialCommType(state_.settings.CommType)) {
        setLog(QStringLiteral("Please Configure a Serial Connection to the Module"));
        return Outcome::Ended;
    }
    host_.setMessage(QStringLiteral("Updating Firmware"));
    wait_(1.0);

    imagePath_ = view_.chooseImageFile(
        m == FlashModule::Comm4826
            ? QStringLiteral("SR Files, CSR Files (*.sr; *.csr)|*.sr; *.csr|All Files (*.*)|*.*")
            : QStringLiteral("SR Files, SR1 Files, CSR Files (*.sr; *.sr1; *.csr)|*.sr; *.sr1; "
                             "*.csr|All Files (*.*)|*.*"));
    if (imagePath_.isEmpty()) return Outcome::Ended;
    const auto kind = firmware::imageKindOf(imagePath_.toStdString());
    if (!kind) {
        logBelow(QStringLiteral("Invalid File Type Selected"));
        return Outcome::Failed;
    }
    if (!imagePath_.contains(moduleNumber(m))) {
        setLog(QStringLiteral("Error: Invalid File Selected"));
        return Outcome::Failed;
    }
    setLog({});
    image_ = firmware::makeImage(*kind);
    if (!image_->OpenFile(imagePath_.toStdString())) {
        logBelow(QString::fromStdString(image_->error()));
        return Outcome::Failed;
    }
    // The whole image is checked before the controller is touched: a damaged record found
    // half-way through would leave the module without firmware.
    check_ = firmware::checkImage(*image_);
    if (!check_.sound) {
        logBelow(QStringLiteral("Damaged Firmware File, ") +
                 QString::fromStdString(check_.message()));
        return Outcome::Failed;
    }
    // Which of the module's models it is may only show after the reset; the image must hold
    // something for one of them before that.
    const std::vector<const firmware::ModuleModel*> models = modelsOf(m);
    if (std::none_of(models.begin(), models.end(), [&](const firmware::ModuleModel* model) {
            return check_.sends(model->tag);
        })) {
        logBelow(QStringLiteral("Invalid File, Does Not Support ") + moduleName(m));
        return Outcome::Failed;
    }
    if (!image_->ResetFile()) {
        logBelow(QString::fromStdString(image_->error()));
        return Outcome::Failed;
    }

    if (!view_.askOkCancel(
            QStringLiteral("Continuing will Reset and Stop the controller and begin firmware "
                           "download. \nEnsure that the communications cable is connected "
                           "directly to ") +
            cableTarget(m) +
            QStringLiteral("\nConnecting to the wrong Comm Port can result in corrupting "
                           "controller memory.\nDoing a firmware update may cause you to lose "
                           "your Tavrel Program.")))
        return Outcome::Ended;

    closeLink(state_, library_);
    if (!openLink(state_.settings.BaudRate, QStringLiteral("Failed to Set Timeout")))
        return Outcome::Failed;

    Outcome reached;
    if (library_.ZlPutStatus(state_.connection.CommHandle, kResetStatus) != 1) {
        fetchLibError(library_, state_);
        const int32_t code = state_.LibError.code;
        logBelow(QStringLiteral("Reset Error: ") + errorText());
        // The module answers so from inside its boot loader, which cannot say what it is.
        if (code == 206 || code == 170)
            reached = selectionPath(m);
        else
            reached = identifyAndRequest(m);
    } else {
        int32_t status = 0;
        if (library_.ZlGetStatus(state_.connection.CommHandle, status) == 1 &&
            (status & 0xFF) == 4 &&
            library_.ZlPutStatus(state_.connection.CommHandle, kStopStatus) != 1)
            logBelow(QStringLiteral("Stop Error: ") + errorText());
        reached = identifyAndRequest(m);
    }
    if (reached != Outcome::Completed) return reached;
    return sendImage(m);
}

// Steps 8 to 10: the model, its section in a compressed image, the programming-mode request.
FirmwareUpdate::Outcome FirmwareUpdate::identifyAndRequest(FlashModule m) {
    const int32_t handle = state_.connection.CommHandle;
    const std::vector<const firmware::ModuleModel*> models = modelsOf(m);
    const firmware::ModuleModel* model = models.front();
    if (m != FlashModule::Comm4826) {
        int32_t held = 0;
        if (library_.ZlGetRegister(handle, kModelRegister, held) != 1) {
            logBelow(QStringLiteral("Unable to Read Model Code"));
            return Outcome::Failed;
        }
        const auto holds = [held](const firmware::ModuleModel* c) { return c->code == held; };
        const auto found = std::find_if(models.begin(), models.end(), holds);
        model = found != models.end() ? *found : nullptr;
        for (size_t i = 0; !model && i < models.size(); ++i)
            if (library_.ZlPutRegister(handle, kModelRegister, models[i]->code) == 1)
                model = models[i];
        if (!model) {
            logBelow(QStringLiteral("Invalid Controller Model Code"));
            return Outcome::Failed;
        }
    }
    tag_ = latin1(model->tag);
    moduleName_ = latin1(model->name);
    if (!check_.sends(model->tag)) {
        logBelow(QStringLiteral("Invalid File, Does Not Support ") + moduleName_);
        return Outcome::Failed;
    }

    wait_(0.5);
    const QByteArray request = AppendPacketChecksum(
        m == FlashModule::Comm4826 ? QByteArray("\x01\x04\x69\x06", 4)
                                   : QByteArray("\x01\x05\x69\x86\x03", 5));
    QByteArray reply;
    if (library_.ZlSendData(handle, kSendDataKind, request, static_cast<int16_t>(request.size()),
                            reply) != 1) {
        logBelow(QStringLiteral("Error: ") + errorText());
        return Outcome::Failed;
    }
    const int length = reply.isEmpty() ? 0 : static_cast<uint8_t>(reply[0]);
    const QByteArray answer = reply.left(length + 1);
    if (answer.size() == 4 && answer[1] == 'd') return Outcome::Completed;
    logBelow(answer.size() == 4 && answer[1] == 'g'
                 ? QStringLiteral("Connected to Incorrect ZEL Port")
                 : QStringLiteral("Failed to put into programming mode, Invalid Response"));
    return Outcome::Failed;
}

// Steps 12 and 13: the user names the model from the image's list; a 7400 is woken on the
// raw port; the library connection is made again.
FirmwareUpdate::Outcome FirmwareUpdate::selectionPath(FlashModule m) {
    const std::optional<ModelChoices> choices = readModelChoices(*image_);
    if (!choices) return Outcome::Failed;
    const std::optional<int> code = view_.selectModel(*choices);
    if (!code) return Outcome::Failed;
    const auto& model = m == FlashModule::Comm4826 ? firmware::kModuleModels.back()
                                                   : modelOfCode(*code);
    // The options come from the image's list, whose every section the check has walked.
    tag_ = latin1(model.tag);
    moduleName_ = latin1(model.name);
    closeLink(state_, library_);
    if (m == FlashModule::Unit7400) {
        const WakeUpResult woken =
            wakeUp7400(serialPortOf(state_.settings.CommType), kWakeUpWait);
        if (!woken.opened) {
            logBelow(QStringLiteral("MSComm Error: ") + woken.error);
            return Outcome::Failed;
        }
        logBelow(QStringLiteral("MSComm Response: ") + QString::fromLatin1(woken.received));
    }
    if (!openLink(state_.settings.BaudRate, QStringLiteral("Failed to Set Connection Timeout")))
        return Outcome::Failed;
    return Outcome::Completed;
}

// Steps 14 to 19: XON, the baud change, the line at the new rate, the records, the boot
// loader's confirmation.
FirmwareUpdate::Outcome FirmwareUpdate::sendImage(FlashModule) {
    wait_(0.5);
    if (sendAscii(QByteArray(1, kXon), kXon) == 0) {
        logBelow(QStringLiteral("Failed to Get XON response: ") + errorText());
    } else if (const QByteArray before = reply_.left(reply_.indexOf(kXon)); !before.isEmpty()) {
        logBelow(QString::fromLatin1(before));
    }

    wait_(0.5);
    const FirmwareBaud baud = kBauds[baudIndex_];
    state_.settings.BaudRate = baud.rate;
    if (sendAscii(QByteArray(1, baud.digit), baud.digit) == 0) {
        logBelow(QStringLiteral("Baud Error: ") + errorText());
        return Outcome::Failed;
    }
    logBelow(QStringLiteral("Baud: ") + QString::number(baud.rate));

    if (library_.ZlCloseConnection(state_.connection.CommHandle) != 1) return Outcome::Failed;
    forgetLink(state_);
    if (!openLink(baud.rate, QStringLiteral("Failed to Set Timeout"))) return Outcome::Failed;
    wait_(0.5);
    sendAscii(QByteArray(1, kXon), kXon);
    wait_(0.5);

    const Outcome sent = sendLines();
    if (sent != Outcome::Completed) return sent;
    confirmBoot();
    return Outcome::Completed;
}

FirmwareUpdate::Outcome FirmwareUpdate::sendLines() {
    const std::string tag = tag_.toStdString();
    firmware::SentLines lines(*image_);
    if (lines.start(tag) != firmware::SentLines::Start::Ready) return Outcome::Failed;
    int64_t total = QFileInfo(imagePath_).size();
    if (image_->kind() == firmware::ImageKind::Compressed) {
        total = lines.listedLength();
        logBelow(QString::fromLatin1(lines.header()));
        // A length in the list that is off only puts the progress shown off.
        if (const firmware::SectionCheck* section = check_.section(tag);
            section && !section->note.empty())
            logBelow(QString::fromStdString(section->note));
    }
    int shown = 0;
    view_.showProgress(shown);
    using Read = firmware::SentLines::Read;
    if (lines.next() != Read::Line) return Outcome::Failed;

    for (;;) {
        if (sendAscii(QByteArray::fromStdString(lines.line()), kXoff) == 0) {
            logBelow(QStringLiteral("Failed to get XOFF response. ") + errorText());
            return Outcome::Failed;
        }
        // Only the header record makes the boot loader erase, which it reports when done.
        if (lines.line().size() > 1 && lines.line()[1] == '0') {
            for (;;) {
                wait_(1.0);
                if (sendAscii({}, kLineFeed) == 0) {
                    if (fetchLibError(library_, state_) == 1)
                        logBelow(QStringLiteral("Failed to get CRLF response. (Not Fatal)"));
                    else
                        logBelow(QStringLiteral("Failed to get CRLF response.") +
                                 QString::number(state_.LibError.code));
                    break;
                }
                logBelow(lineOf(reply_).value_or(QStringLiteral("Failed to find LF in message.")));
                if (reply_.contains("00000010")) break;
            }
        }
        const Read read = lines.next();
        if (read == Read::Failed) return Outcome::Failed;
        if (read == Read::End) break;
        pump_();
        if (sendAscii(QByteArray(1, kXon), kXon) == 0) {
            logBelow(QStringLiteral("Failed to get XON response."));
            return Outcome::Failed;
        }
        if (reply_.toUpper().contains("DATA")) {
            const qsizetype xon = reply_.indexOf(kXon);
            const qsizetype k = xon < 0 ? reply_.size() : xon;
            logBelow(k > 3 ? QString::fromLatin1(reply_.left(k - 2))
                           : QStringLiteral("Failed to get Data Message"));
        }
        // A redraw repaints the whole window: only when the percentage moves, not per record.
        const int percent =
            total > 0 ? static_cast<int>(std::min<int64_t>(lines.counted() * 100 / total, 100))
                      : 100;
        if (percent != shown) view_.showProgress(shown = percent);
        if (read == Read::Stop) break;
    }
    return Outcome::Completed;
}

// The update counts as done from here; a confirmation that does not come is only logged.
void FirmwareUpdate::confirmBoot() {
    for (int i = 0; i < 2; ++i) {
        if (!reply_.contains("Done") && sendAscii({}, kLineFeed) == 0) {
            logBelow(QStringLiteral("Failed to get Boot confirmation."));
            return;
        }
        logBelow(lineOf(reply_).value_or(QString::fromLatin1(reply_)));
    }
}

bool FirmwareUpdate::openLink(int32_t baud, const QString& timeoutFailure) {
    const int32_t handle =
        library_.ZlOpenConnection(LinkKind::Serial, serialPortOf(state_.settings.CommType), 0);
    if (handle <= 0) return false;
    linkOpened(state_, handle);
    if (library_.ZlInitConnection(handle, baud, 0, 8, 0) != 1) {
        logBelow(QStringLiteral("Failed to Initialize Connection"));
        return false;
    }
    if (library_.ZlSetConnectionTimeout(handle, kFlashTimeoutMs) != 1) {
        logBelow(timeoutFailure);
        return false;
    }
    return true;
}

void FirmwareUpdate::cleanUp(int32_t baud, int32_t timeout) {
    state_.settings.BaudRate = baud;
    state_.settings.CommTimeout = timeout;
    image_.reset();
    view_.showProgress(std::nullopt);
    view_.setBusyPointer(false);
    closeLink(state_, library_, [&] {
        const bool known = fetchLibError(library_, state_) == 1;
        host_.setMessage(QStringLiteral("Failed to Close Connection\n") +
                         (known ? state_.LibError.text : QStringLiteral("Unknown Error")));
    });
    linkLost(state_);
}

int32_t FirmwareUpdate::sendAscii(const QByteArray& text, int32_t endByte) {
    reply_.clear();
    return library_.ZlSendAscii(state_.connection.CommHandle, text,
                                static_cast<int32_t>(text.size()), reply_, endByte);
}

QString FirmwareUpdate::errorText() {
    fetchLibError(library_, state_);
    // The library pads its text with blanks where the text of a fixed-size record would end at
    // its first control character.
    const QString text = state_.LibError.text;
    const std::string shortened = firmware::ErrMessage(text.toStdString());
    return QString::number(state_.LibError.code) + u' ' +
           (shortened.empty() ? text.trimmed() : QString::fromStdString(shortened));
}

void FirmwareUpdate::logBelow(const QString& message) {
    log_ = message + QStringLiteral("\r\n") + log_;
    view_.showLog(log_);
    host_.writeLog(QStringLiteral("Firmware update: ") + message);
}

void FirmwareUpdate::setLog(const QString& text) {
    log_ = text;
    view_.showLog(log_);
    if (!text.isEmpty()) host_.writeLog(QStringLiteral("Firmware update: ") + text);
}

}  // namespace zel
