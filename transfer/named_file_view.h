// The view of register transfers and comparisons run without a window: the file is the one
// named beforehand, every question is answered Yes (whoever started the run already said so),
// and the last status message is kept for the caller to read.
#pragma once

#include <QString>
#include <optional>
#include <utility>

#include "transfer/register_compare.h"
#include "transfer/register_transfer.h"

namespace zel {

class NamedFileView final : public RegisterTransferView, public RegisterCompareView {
public:
    explicit NamedFileView(QString path) : path_(std::move(path)) {}
    QString chooseSaveFile() override { return path_; }
    std::optional<QString> chooseOpenFile() override { return path_; }
    bool confirm(const QString&) override { return true; }
    void setMessage(const QString& text) override { message = text; }
    void setBusy(bool) override {}
    void setProgress(int) override {}

    QString message;

private:
    QString path_;
};

}  // namespace zel
