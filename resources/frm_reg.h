// frmReg and frmRam, the Registers and NV registers windows: the paged form with the display
// mode caption Label4, the "&Display" menu and the "View Bits" button Command1.
#pragma once

#include <QAction>
#include <array>
#include <functional>

#include "resources/paged_form.h"
#include "resources/register_window_model.h"

class QPushButton;

namespace zel {

class RegisterForm : public PagedForm {
    Q_OBJECT
public:
    RegisterWindowModel& model() { return *model_; }
    // "View Bits": the main window shows the Register bits window with this window's bank
    // selected ("Lower Regs" from frmReg, "Upper Regs" from frmRam) and focuses its first box.
    // "View Bits" stays disabled until there is a window to show.
    void setViewBitsHandler(std::function<void()> handler);

protected:
    RegisterForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                 SymbolLookup* symbols, MessageSink setMessage, RegisterBank bank, QWidget* parent);
    void drawExtras() override;

private:
    void buildDisplayMenu(RegisterBank bank);

    RegisterWindowModel* model_ = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Command1 = nullptr;
    std::array<QAction*, 2> displayItems_{};  // "&Decimal", "&Hexadecimal"
    std::function<void()> viewBits_;
};

class frmReg final : public RegisterForm {
    Q_OBJECT
public:
    frmReg(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
           SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);
};

class frmRam final : public RegisterForm {
    Q_OBJECT
public:
    frmRam(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
           SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);
};

}  // namespace zel
