// A transfer view that answers the dialogs and questions from scripts and logs everything it
// is shown, in order.
#pragma once

#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "transfer/program_transfer_view.h"

namespace zel::test {

// An error text as the library hands it over: padded with blanks to 255 characters.
inline QString padded(const char* text) {
    return QString::fromLatin1(text).leftJustified(255, u' ');
}

class ScriptedTransferView final : public ProgramTransferView, public FileProgressView {
public:
    std::optional<QString> chooseFile(const DsoFileDialog& dialog) override {
        log << QStringLiteral("dialog: ") + dialog.title;
        lastDialog = dialog;
        if (files.empty()) return std::nullopt;
        const QString answer = files.front();
        files.pop_front();
        return answer;
    }
    void messageBox(const QString& text, TransferIcon icon) override {
        const char* kind = icon == TransferIcon::Exclamation   ? "box!: "
                           : icon == TransferIcon::Information ? "info: "
                                                               : "box: ";
        log << QString::fromLatin1(kind) + text;
    }
    bool askOkCancel(const QString& text) override {
        log << QStringLiteral("ok/cancel: ") + text;
        const bool ok = okAnswers.empty() || okAnswers.front();
        if (!okAnswers.empty()) okAnswers.pop_front();
        return ok;
    }
    bool askYesNo(const QString& text) override {
        log << QStringLiteral("yes/no: ") + text;
        const bool yes = yesAnswers.empty() || yesAnswers.front();
        if (!yesAnswers.empty()) yesAnswers.pop_front();
        return yes;
    }
    void setStatus(const QString& text) override { log << QStringLiteral("status: ") + text; }
    void setBusy(bool busy) override { this->busy = busy; }
    FileProgressView& fileProgress() override { return *this; }

    // frmFile: a caption is logged when it changes; the floods go to their own list.
    void showProgress(const QString& caption) override {
        log << QStringLiteral("frmFile shown: ") + caption;
        this->caption = caption;
    }
    void setProgressCaption(const QString& caption) override {
        if (caption != this->caption) log << QStringLiteral("frmFile: ") + caption;
        this->caption = caption;
    }
    void setProgress(int percent) override { floods.push_back(percent); }
    void unloadProgress() override { log << QStringLiteral("frmFile unloaded"); }

    // Dialog answers in order; nothing left means the user cancels.
    std::deque<QString> files;
    // Overwrite answers in order; nothing left means OK.
    std::deque<bool> okAnswers;
    // Yes/No answers in order; nothing left means Yes.
    std::deque<bool> yesAnswers;
    QString caption;
    std::vector<int> floods;
    DsoFileDialog lastDialog;
    QStringList log;
    bool busy = false;
};

}  // namespace zel::test
