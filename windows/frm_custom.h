// A custom screen window, either of the two: per row the kind list Combo1, the number box
// Text1, the label Label1 and the value box Text2; the File and Display menus.
#pragma once

#include <array>
#include <memory>

#include "resources/resource_form.h"
#include "windows/custom_screen_model.h"

class QAction;
class QComboBox;

namespace zel {

class frmCustom : public ResourceForm, public CustomScreenView {
    Q_OBJECT
public:
    // Without `files` the file commands are disabled.
    frmCustom(CustomScreen screen, AppState& state, ZelLibrary& library,
              settings::SettingsStore& store, SymbolLookup* symbols, MessageSink setMessage,
              CustomScreenFiles* files, QWidget* parent = nullptr);
    ~frmCustom() override;

    // Loads the window on its first showing, sets its open flag and shows it.
    void open();
    // Titled with the connection caption only while it is loaded.
    void retitle(const QString& connectionCaption);
    PollBlock& pollBlock() { return *model_; }
    CustomScreenModel& model() { return *model_; }
    // Replaces the message boxes, the save question and the file dialog (tests answer them).
    void setDialogs(CustomScreenDialogs* dialogs) { dialogs_ = dialogs; }

    // CustomScreenView
    void draw() override;
    void messageBox(const QString& text, BoxIcon icon) override;
    bool askYesNo(const QString& text) override;
    QString chooseFile(FileDialogKind kind, const QString& start) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildRows();
    void drawRow(int r);
    bool numberBoxEvent(int r, QEvent* event);
    bool valueBoxEvent(int r, QEvent* event);

    std::unique_ptr<CustomScreenModel> model_;
    CustomScreenDialogs* dialogs_ = nullptr;
    std::array<QComboBox*, CustomScreenModel::RowCount> Combo1{};
    std::array<QLineEdit*, CustomScreenModel::RowCount> Text1{};
    std::array<QLabel*, CustomScreenModel::RowCount> Label1{};
    std::array<QLineEdit*, CustomScreenModel::RowCount> Text2{};
    QAction* displayLabels_ = nullptr;
    QAction* displayResources_ = nullptr;
};

}  // namespace zel
