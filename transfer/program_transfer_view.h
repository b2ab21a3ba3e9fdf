// What the program transfer window shows and asks; tests answer it.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "transfer/file_progress_view.h"

namespace zel {

enum class TransferIcon { None, Exclamation, Information };

// The platform's file dialog as the transfer configures it.
struct DsoFileDialog {
    QString title;
    QString initialName;
    QString defaultSuffix;
    QStringList filters;  // the first is selected
    bool save = false;
};

class ProgramTransferView {
public:
    virtual ~ProgramTransferView() = default;
    // The chosen name (empty when the name was left empty), or nothing when cancelled.
    virtual std::optional<QString> chooseFile(const DsoFileDialog& dialog) = 0;
    virtual void messageBox(const QString& text, TransferIcon icon) = 0;
    // OK and Cancel, no icon; true for OK.
    virtual bool askOkCancel(const QString& text) = 0;
    // Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // Label2, repainted at once.
    virtual void setStatus(const QString& text) = 0;
    virtual void setBusy(bool busy) = 0;
    // The progress window frmFile of the companion register files.
    virtual FileProgressView& fileProgress() = 0;
};

}  // namespace zel
