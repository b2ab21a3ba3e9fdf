#include "transfer/companion_registers.h"

#include <array>

#include "common/number_text.h"
#include "transfer/register_file.h"

namespace zel {

namespace {

constexpr int32_t kBlockSize = 50;
constexpr int32_t kBlockCount = 20;
constexpr int32_t kMaxRetries = 3;
constexpr int32_t kFirstBankRegister = 32001;
constexpr int32_t kBankSize = 1000;
constexpr int32_t kChunkSize = 16;
constexpr int32_t kChunkCount = 63;
// Register 13008 holds the controller's model; models 14 to 16 have eight banks.
constexpr int32_t kModelRegister = 13008;
// The first 500 entries of the file are read past, never written to the controller.
constexpr int32_t kFirstSentEntry = 501;

const QString kUploadFailed = QStringLiteral("Failed to upload register values!");
const QString kDownloadFailed = QStringLiteral("Failed to Download Register Values!");

void writeLine(QFile& file, const QString& number, const QString& value) {
    file.write(registerFileLine(number, value));
}

}  // namespace

QString companionRegisterFile(const QString& programPath) {
    return programPath.chopped(qMin<qsizetype>(4, programPath.size())) + QStringLiteral(".txt");
}

CompanionRegisters::CompanionRegisters(ZelLibrary& library, ProgramTransferView& view,
                                       EventPump pump, LinkErrorReport reportLinkError)
    : library_(library),
      view_(view),
      pump_(std::move(pump)),
      reportLinkError_(std::move(reportLinkError)) {}

bool CompanionRegisters::readable(int32_t number, int32_t& value) {
    return library_.ZlGetRegister(handle_, number, value) == 1;
}

void CompanionRegisters::upload(int32_t handle, int16_t layout, const QString& programPath) {
    handle_ = handle;
    const QString name = companionRegisterFile(programPath);
    if (QFile::exists(name)) {
        if (!view_.askYesNo(QStringLiteral("File ") + name +
                            QStringLiteral(" already exists. Do you want to Overwrite it?")) ||
            !QFile::remove(name)) {
            abandonUpload();
            return;
        }
    }
    view_.setBusy(true);
    progress().showProgress(QStringLiteral("Uploading Registers ..."));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failedToWrite(file);
        return;
    }
    file.write(registerFileHeader());
    bool read = true;
    if (layout != 0)
        read = uploadBlocks(file) && uploadBanks(file);
    else
        uploadSingles(file);
    // A cut file is reported first: it is what the user would find on disk.
    if (!writtenInFull(file)) {
        failedToWrite(file);
        return;
    }
    file.close();
    if (!read) {
        abandonUpload();
        return;
    }
    progress().unloadProgress();
    view_.setBusy(false);
    view_.messageBox(QStringLiteral("Register upload completed!"), TransferIcon::None);
    view_.setStatus({});
}

// The file, not the link, failed: the system's reason is shown instead of the library's.
void CompanionRegisters::failedToWrite(const QFile& file) {
    progress().unloadProgress();
    view_.setBusy(false);
    view_.messageBox(fileWriteFailure(kUploadFailed, file), TransferIcon::Exclamation);
}

void CompanionRegisters::abandonUpload() {
    progress().unloadProgress();
    view_.setBusy(false);
    reportLinkError_(kUploadFailed + u'\n');
}

// One retry count serves all twenty blocks.
bool CompanionRegisters::uploadBlocks(QFile& out) {
    progress().setProgressCaption(QStringLiteral("Uploading Registers 1 to 1000..."));
    int32_t retries = 0;
    for (int32_t b = 1; b <= kBlockCount; ++b) {
        std::array<int32_t, kBlockSize> values{};
        while (library_.ZlGetRegister50(handle_, b, values) != 1)
            if (++retries > kMaxRetries) return false;
        const int32_t first = kBlockSize * (b - 1) + 1;
        for (int32_t i = 0; i < kBlockSize; ++i)
            writeLine(out, registerTextForm(first + i), registerTextForm(values[i]));
        progress().setProgress(5 * b);
    }
    return true;
}

bool CompanionRegisters::uploadBanks(QFile& out) {
    int32_t value = 0;
    int32_t lastBank = readable(kFirstBankRegister, value) ? 3 : 0;
    if (readable(kModelRegister, value) && value >= 14 && value <= 16) lastBank = 7;
    for (int32_t k = 0; k <= lastBank; ++k) {
        const int32_t first = kFirstBankRegister + kBankSize * k;
        const QString range =
            registerTextForm(first) + QStringLiteral(" to ") + registerTextForm(first + 999);
        progress().setProgressCaption(QStringLiteral("Uploading Registers ") + range +
                                      QStringLiteral(" ..."));
        progress().setProgress(0);
        if (!readable(first, value)) continue;
        view_.setStatus(QStringLiteral("NVRAM Regs ") + range);
        for (int32_t m = 0; m < kChunkCount; ++m) {
            pump();
            std::array<int32_t, kChunkSize> values{};
            int32_t retries = 0;
            while (library_.ZlGetRegister16(handle_, first + kChunkSize * m, values) != 1)
                if (++retries > kMaxRetries) return false;
            // The last chunk runs past the bank; only its first 8 values belong to it.
            for (int32_t j = 1; j <= kChunkSize && kChunkSize * m + j <= kBankSize; ++j)
                writeLine(out, registerTextForm(first - 1 + kChunkSize * m + j),
                          registerTextForm(values[j - 1]));
            progress().setProgress(100 * m / kChunkCount);
        }
    }
    return true;
}

void CompanionRegisters::uploadSingles(QFile& out) {
    for (int32_t r = 1; r <= kGeneralRegisters; ++r) {
        int32_t value = 0;
        const bool ok = readable(r, value);
        writeLine(out, registerIntegerForm(r),
                  ok ? registerIntegerForm(value) : QString::fromLatin1(kUnreadValue));
        progress().setProgress(r / 10);
    }
}

// A "*" value was unreadable when the file was made: its register is left as it is.
void CompanionRegisters::download(int32_t handle, const QString& programPath) {
    handle_ = handle;
    QFile file(companionRegisterFile(programPath));
    if (!file.open(QIODevice::ReadOnly)) return;
    if (!view_.askYesNo(QStringLiteral("Download Non-Volatile Registers?"))) return;
    const auto fail = [&] {
        view_.setBusy(false);
        file.close();
        progress().unloadProgress();
        view_.messageBox(kDownloadFailed, TransferIcon::None);
    };
    if (library_.ZlPutStatus(handle_, 0) == 0) {
        fail();
        return;
    }
    view_.setBusy(true);
    RegisterFileReader reader(file.readAll());
    if (!reader.skipHeader()) {
        fail();
        return;
    }
    progress().showProgress(QStringLiteral("Downloading Register Values..."));
    int32_t written = 0;
    QString status;
    const auto showWritten = [&](int32_t number) {
        status = QStringLiteral("Register#") + strNumber(number) + QStringLiteral(" downloaded!");
        view_.setStatus(status);
        ++written;
    };

    int32_t lastRead = 0;
    for (int32_t i = 1; i <= kGeneralRegisters; ++i) {
        progress().setProgressCaption(QStringLiteral("Downloading Registers 501 to 1000..."));
        const auto entry = reader.readInteger();
        if (!entry) {
            fail();
            return;
        }
        lastRead = entry->number;
        if (i < kFirstSentEntry || !entry->value) continue;
        if (library_.ZlPutRegister(handle_, entry->number, *entry->value) != 1) continue;
        showWritten(i);
        progress().setProgress((i - 500) / 5);
    }

    for (int32_t n = 0; !reader.atEnd(); ++n) {
        progress().setProgressCaption(QStringLiteral("Downloading Register#") +
                                      strNumber(lastRead));
        const auto entry = reader.readInteger();
        if (!entry) {
            fail();
            return;
        }
        lastRead = entry->number;
        if (entry->value) {
            if (library_.ZlPutRegister(handle_, entry->number, *entry->value) != 1) break;
            showWritten(entry->number);
            progress().setProgress((n % kBankSize + 1) / 10);
        }
        if (n % 10 == 9) pump();
    }

    progress().setProgress(100);
    view_.setStatus(status + QStringLiteral("\r\nRegister write completed."));
    file.close();
    view_.setBusy(false);
    progress().unloadProgress();
    view_.setStatus(QStringLiteral(" Registers Downloaded: ") + QString::number(written));
}

}  // namespace zel
