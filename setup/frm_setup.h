// frmSetup, "Communication Setup": the connection setup dialog. It hands every key, focus
// change and click to SetupModel and draws the model's state; it holds no rule of its own.
//
// The main window creates it once and, for "Change Configuration", sets SetupOpen, shows it
// (not modal) and calls loadCurrentValues(). Exit, the close box and Escape all unload it
// through the model; the same object can be shown and loaded again afterwards.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "setup/setup_model.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zel {

class frmSetup : public QDialog {
    Q_OBJECT
public:
    frmSetup(AppState& state, ZelLibrary& library, SetupHost& host, QWidget* parent = nullptr);
    ~frmSetup() override;

    // Runs the load steps: the fields show the current settings, polling stops.
    void loadCurrentValues();
    // Fills the network address frame from the controller.
    void GetAddresses();
    SetupModel& model() { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Every way of closing the dialog ends here, so the unload steps always run.
    void done(int result) override;

private:
    // Building the controls (frm_setup_layout.cpp).
    void buildForm();
    QWidget* buildConnectionFrame();
    QWidget* buildConfigurationFrame();
    QWidget* buildInputFrame();
    QWidget* buildAddressFrame();
    QLineEdit* newField(const QString& name);
    QPushButton* newButton(const QString& name, const QString& caption);

    // Handing events to the model (frm_setup.cpp).
    void connectControls();
    void connectAddressFields();
    bool keyInField(QObject* field, const QKeyEvent& key);
    void leaveField(QObject* field);
    std::optional<SetupField> connectionFieldOf(const QObject* widget) const;
    int addressFieldOf(const QObject* widget) const;
    void exitClicked();

    // Drawing the model's state.
    void draw();
    void drawConnection();
    void drawConfiguration();
    void drawAddresses();

    SetupModel model_;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QCheckBox* chkSearch = nullptr;
    std::array<QLineEdit*, 5> connectionFields_{};  // indexed by SetupField
    std::array<QLabel*, kConfigurationValueCount> Label14{};
    std::array<QLabel*, kStatusLineCount> Label19{};
    std::array<QPushButton*, kInputButtonCount> Command3d1{};
    QPushButton* ExitButton = nullptr;
    QFrame* Frame1 = nullptr;
    QPushButton* frameCaption_ = nullptr;
    QWidget* addressContent_ = nullptr;
    std::array<QLineEdit*, kAddressFieldCount> txtAddress{};
    QLabel* lblMacID = nullptr;
    QPushButton* cmdLoadIP = nullptr;
};

}  // namespace zel
