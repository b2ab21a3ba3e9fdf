// frmServo and frmServo2, the servo windows "Motors/Servos 1-16" and "Motors/Servos 17-32":
// per row the servo number Label1, its name Label4, its position Text1 (typed into) and its
// position error Text2. Both draw one ServoModel; frmServo owns its open flag and tick block.
#pragma once

#include <array>
#include <memory>

#include "resources/resource_form.h"
#include "resources/servo_model.h"

namespace zel {

class ServoForm : public ResourceForm, public WindowView {
    Q_OBJECT
public:
    ~ServoForm() override;
    ServoModel& model() { return *model_; }

    // WindowView
    void draw() override;

protected:
    ServoForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
              SymbolLookup* symbols, MessageSink setMessage, const char* title, int window,
              QWidget* parent);
    // Builds the rows of this window over `model`; called once from the constructor.
    void attach(std::shared_ptr<ServoModel> model);
    std::shared_ptr<ServoModel> sharedModel() const { return model_; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRows();
    bool positionEvent(int index, QEvent* event);

    int window_;  // 0 for servos 1-16, 1 for 17-32
    std::shared_ptr<ServoModel> model_;
    std::array<QLabel*, ServoModel::ServosPerWindow> Label1{};
    std::array<QLabel*, ServoModel::ServosPerWindow> Label4{};
    std::array<QLineEdit*, ServoModel::ServosPerWindow> Text1{};
    std::array<QLineEdit*, ServoModel::ServosPerWindow> Text2{};
};

class frmServo final : public ServoForm {
    Q_OBJECT
public:
    frmServo(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
             SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);

    // Loads the window on its first showing, sets ServoFormOpen and shows it.
    void open();
    // The servo block of the polling tick, for both windows.
    PollBlock& pollBlock() { return model(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class frmServo2;  // shows the same model
};

class frmServo2 final : public ServoForm {
    Q_OBJECT
public:
    frmServo2(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
              SymbolLookup* symbols, MessageSink setMessage, frmServo& first,
              QWidget* parent = nullptr);

    // Loads the window on its first showing (placement read from "Servo") and shows it; it
    // keeps no open flag, and the tick reads its servos only while it is showing.
    void open();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace zel
