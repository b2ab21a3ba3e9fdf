// The Compare with Controller window: a button that chooses a register value file and
// compares it, the sortable list of differences with a tick per row, the reading's progress,
// and buttons that write the ticked rows back and save the list. The rules are the model's.
#pragma once

#include <QWidget>

#include "common/app_state.h"
#include "common/symbol_lookup.h"
#include "link/zel_library.h"
#include "transfer/register_compare.h"

class QProgressBar;
class QPushButton;

namespace zel {

class frmCompare : public QWidget, private RegisterCompareView {
    Q_OBJECT
public:
    frmCompare(AppState& state, ZelLibrary& library, SymbolLookup* symbols,
               std::function<void(const QString&)> message, QWidget* parent = nullptr);

    void open();
    void retitle(const QString& caption);

    RegisterCompare& model() { return model_; }

private:
    void setMessage(const QString& text) override;
    void setProgress(int percent) override;
    void setBusy(bool busy) override;
    bool confirm(const QString& question) override;

    void chooseAndCompare();
    void saveList();
    void closeEvent(QCloseEvent* event) override;

    std::function<void(const QString&)> message_;
    RegisterCompare model_;
    QProgressBar* progress_ = nullptr;
    QList<QPushButton*> buttons_;
    bool busy_ = false;
};

}  // namespace zel
