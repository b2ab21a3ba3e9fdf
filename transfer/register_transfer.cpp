#include "transfer/register_transfer.h"

#include <QFile>
#include <array>

#include "common/number_text.h"
#include "link/link_claim.h"
#include "transfer/register_file.h"

namespace zel {

namespace {

constexpr int32_t kBlockSize = 50;
constexpr int32_t kBlockCount = 20;
// Block 3 is read one register at a time and register 128 is never read.
constexpr int32_t kSingleReadBlock = 3;
constexpr int32_t kUnreadRegister = 128;
constexpr int32_t kMaxRetries = 3;
constexpr int32_t kFirstBankRegister = 32001;
constexpr int32_t kBankSize = 1000;
constexpr int32_t kChunkSize = 16;
constexpr int32_t kChunkCount = 63;
constexpr int32_t kExtensionRegister = 36001;
constexpr int32_t kFirstVRegister = 36101;
constexpr int32_t kLastVRegister = 36800;
constexpr int32_t kVRegisterModel = 5;

const QString kUploadFailed = QStringLiteral("Failed to get registers!");
const QString kDownloadFailed = QStringLiteral("Failed to write registers!");

}  // namespace

// Busy pointer and the link's claim for the whole transfer, so nothing else talks to the
// controller meanwhile; both are given back however the transfer ends. Made only once
// refusedWhileClaimed() has found the link free.
class RegisterTransfer::Scope {
public:
    explicit Scope(RegisterTransfer& t) : t_(t), claim_(t.state_, LinkUse::Transfer) {
        t_.view_.setBusy(true);
    }
    ~Scope() { t_.view_.setBusy(false); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    RegisterTransfer& t_;
    LinkClaim claim_;
};

RegisterTransfer::RegisterTransfer(AppState& state, ZelLibrary& library,
                                   RegisterTransferView& view, EventPump pump)
    : state_(state), library_(library), view_(view), pump_(std::move(pump)) {}

bool RegisterTransfer::readable(int32_t number) {
    int32_t value = 0;
    return library_.ZlGetRegister(handle(), number, value) == 1;
}

bool RegisterTransfer::hasEightBanks() {
    return readable(kExtensionRegister) && model() >= 14 && model() <= 16;
}

void RegisterTransfer::pump(int times) {
    if (!pump_) return;
    for (int i = 0; i < times; ++i) pump_();
}

// Refused before the dialog while another transfer runs, and again if one started while the
// dialog was open.
bool RegisterTransfer::refusedWhileClaimed() {
    if (linkFree(state_)) return false;
    view_.setMessage(kLinkClaimedMessage);
    return true;
}

void RegisterTransfer::upload() {
    if (refusedWhileClaimed()) return;
    const QString name = view_.chooseSaveFile();
    if (name.isEmpty()) return;
    if (!view_.confirm(QStringLiteral("Are you sure you want to Upload register values to file: ") +
                       name + QStringLiteral(" from the controller?")))
        return;
    if (refusedWhileClaimed()) return;
    const Scope scope(*this);
    view_.setMessage(QStringLiteral("Reading registers, please wait ..."));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        view_.setMessage(kUploadFailed);
        return;
    }
    QByteArray lines = registerFileHeader();
    bool read = true;
    if (!blockLayout()) {
        for (int32_t r = 1; r <= kGeneralRegisters; ++r) {
            int32_t value = 0;
            const bool ok = library_.ZlGetRegister(handle(), r, value) == 1;
            lines += registerFileLine(registerTextForm(r), ok ? registerIntegerForm(value)
                                                              : QString::fromLatin1(kUnreadValue));
        }
    } else {
        read = uploadBlocks(lines) && uploadBanks(lines);
        if (read && model() == kVRegisterModel) uploadVRegisters(lines);
    }
    // A failed read leaves the lines read before it in the file.
    file.write(lines);
    if (!writtenInFull(file)) {
        view_.setMessage(fileWriteFailure(kUploadFailed, file));
        return;
    }
    file.close();
    if (!read) {
        view_.setMessage(kUploadFailed);
        return;
    }
    view_.setMessage(QStringLiteral("Register read completed."));
    pump(100);
}

bool RegisterTransfer::uploadBlocks(QByteArray& lines) {
    for (int32_t b = 1; b <= kBlockCount; ++b) {
        const int32_t first = kBlockSize * (b - 1) + 1;
        int32_t retries = 0;
        if (b == kSingleReadBlock) {
            // A failed read starts the block over; its lines so far are written again.
            for (int32_t r = first; r < first + kBlockSize; ++r) {
                int32_t value = 0;
                if (r != kUnreadRegister && library_.ZlGetRegister(handle(), r, value) != 1) {
                    if (++retries > kMaxRetries) return false;
                    r = first - 1;
                    continue;
                }
                appendRegisterFileLine(lines, r, value);
            }
            continue;
        }
        std::array<int32_t, kBlockSize> values{};
        while (library_.ZlGetRegister50(handle(), b, values) != 1)
            if (++retries > kMaxRetries) return false;
        for (int32_t i = 0; i < kBlockSize; ++i)
            appendRegisterFileLine(lines, first + i, values[i]);
    }
    return true;
}

bool RegisterTransfer::uploadBanks(QByteArray& lines) {
    int32_t lastBank = readable(kFirstBankRegister) ? 3 : 0;
    if (hasEightBanks()) lastBank = 7;
    for (int32_t k = 0; k <= lastBank; ++k) {
        const int32_t bankFirst = kFirstBankRegister + kBankSize * k;
        if (!readable(bankFirst)) continue;
        for (int32_t m = 0; m < kChunkCount; ++m) {
            std::array<int32_t, kChunkSize> values{};
            int32_t retries = 0;
            while (library_.ZlGetRegister16(handle(), bankFirst + kChunkSize * m, values) != 1)
                if (++retries > kMaxRetries) return false;
            // The last chunk runs past the bank; only its first 8 values belong to it.
            for (int32_t j = 1; j <= kChunkSize && kChunkSize * m + j <= kBankSize; ++j)
                appendRegisterFileLine(lines, bankFirst - 1 + kChunkSize * m + j, values[j - 1]);
        }
    }
    return true;
}

void RegisterTransfer::uploadVRegisters(QByteArray& lines) {
    for (int32_t v = kFirstVRegister; v <= kLastVRegister; ++v) {
        VRegister record;
        record.number = v;
        const bool ok = library_.ZlGetVRegister(handle(), record) == 1;
        lines += registerFileLine(registerTextForm(v), ok ? registerFloatForm(record.value)
                                                          : QString::fromLatin1(kUnreadValue));
    }
}

void RegisterTransfer::download() {
    if (refusedWhileClaimed()) return;
    const std::optional<QString> name = view_.chooseOpenFile();
    if (!name) {
        view_.setMessage(kDownloadFailed);
        return;
    }
    if (name->isEmpty()) return;
    if (!view_.confirm(QStringLiteral("Are you sure you want to Download to registers from file: ") +
                       *name + QStringLiteral(" to the controller?")))
        return;
    if (refusedWhileClaimed()) return;
    const Scope scope(*this);
    QFile file(*name);
    if (!file.open(QIODevice::ReadOnly)) {
        view_.setMessage(kDownloadFailed);
        return;
    }
    RegisterFileReader reader(file.readAll());
    file.close();
    if (!reader.skipHeader()) {
        view_.setMessage(kDownloadFailed);
        return;
    }
    view_.setMessage(QStringLiteral("Writing Register values, please wait ..."));

    // A "*" value was unreadable when the file was made: its register is left as it is.
    for (int32_t i = 1; i <= kGeneralRegisters; ++i) {
        const auto entry = reader.readInteger();
        if (!entry) {
            view_.setMessage(kDownloadFailed);
            return;
        }
        if (!entry->value) continue;
        const int32_t r = entry->number;
        if (library_.ZlPutRegister(handle(), r, *entry->value) == 1 && i % 100 == 0)
            view_.setMessage(QStringLiteral("Registers") + strNumber(r - 99) +
                             QStringLiteral(" to") + strNumber(r) +
                             QStringLiteral(" downloaded!"));
    }
    pump();

    if (blockLayout()) {
        const int32_t limit = hasEightBanks() ? 8 * kBankSize : 4 * kBankSize;
        bool writeFailed = false;
        for (int32_t n = 0; !reader.atEnd() && n < limit; ++n) {
            if (n % 100 == 0) pump();
            if (writeFailed) continue;
            // The V-registers after the banks are the third phase's.
            if (model() == kVRegisterModel) {
                const auto next = reader.peekNumber();
                if (next && *next >= kFirstVRegister && *next <= kLastVRegister) break;
            }
            const auto entry = reader.readInteger();
            if (!entry) {
                view_.setMessage(kDownloadFailed);
                return;
            }
            if (!entry->value) continue;
            const int32_t r = entry->number;
            if (library_.ZlPutRegister(handle(), r, *entry->value) != 1) {
                writeFailed = true;
                continue;
            }
            if (n != 0 && n % 100 == 0)
                view_.setMessage(QStringLiteral("Registers") + strNumber(r - 100) +
                                 QStringLiteral(" to") + strNumber(r - 1) +
                                 QStringLiteral(" downloaded!"));
        }
    }

    if (model() == kVRegisterModel) {
        while (!reader.atEnd()) {
            const auto entry = reader.readFloat();
            if (!entry) {
                view_.setMessage(kDownloadFailed);
                return;
            }
            if (entry->value) {
                VRegister record;
                record.number = entry->number;
                record.value = *entry->value;
                if (library_.ZlSetVRegister(handle(), record) == 1)
                    view_.setMessage(QStringLiteral("Register ") + QString::number(entry->number) +
                                     QStringLiteral(" downloaded!"));
            }
            pump(2);
        }
    }
    view_.setMessage(QStringLiteral("Register file write completed."));
}

}  // namespace zel
