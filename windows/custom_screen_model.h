// A custom screen's rules, for either of the two: sixteen rows of any resource kind, defined by
// choosing a kind and typing a number, labelled from the symbols, shown with their live values
// by the polling tick and written when a value is entered; the definition file's menu commands
// and the window's load and unload. No widgets.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "link/poll_block.h"
#include "resources/edit_guard.h"
#include "resources/resource_services.h"
#include "resources/window_lifecycle.h"
#include "trends/trend_item.h"
#include "windows/custom_resource_kinds.h"
#include "windows/custom_screen_files.h"
#include "windows/custom_screen_twins.h"

namespace zel {

enum class FileDialogKind { Open, Save };

// The questions a custom screen puts to the user.
class CustomScreenDialogs {
public:
    virtual ~CustomScreenDialogs() = default;
    virtual void messageBox(const QString& text, BoxIcon icon) = 0;
    // Yes/No, no icon; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // The file dialog for definition files, starting at `start`; empty when cancelled.
    virtual QString chooseFile(FileDialogKind kind, const QString& start) = 0;
};

class CustomScreenView : public CustomScreenDialogs {
public:
    // Show the rows, the kind lists and the display mode as they now are.
    virtual void draw() = 0;
};

class CustomScreenModel final : public PollBlock {
public:
    static constexpr int RowCount = 16;

    // Without `files` the file commands are not available and closing asks nothing.
    CustomScreenModel(CustomScreen screen, ResourceServices services, CustomScreenFiles* files);

    void setView(CustomScreenView* view) { view_ = view; }
    const CustomScreenTwin& twin() const { return twin_; }

    // Load: the definition file when a path is set, the placement, the kind lists, the rows in
    // label mode. Unload: the save prompt in resource mode, the placement, the open flag.
    std::optional<settings::WindowPlacement> open();
    void unload(settings::DisplayState display, const settings::WindowPlacement& current);
    bool isLoaded() const { return lifecycle_.isLoaded(); }

    const CustomRow& row(int r) const { return rows_.at(static_cast<size_t>(r)); }
    const QStringList& kindList() const { return kindList_; }
    const QString& numberText(int r) const { return numberText_.at(static_cast<size_t>(r)); }
    const QString& valueText(int r) const { return valueText_.at(static_cast<size_t>(r)); }
    bool resourceMode() const { return resourceMode_; }
    const EditGuard& editGuard() const { return guard_; }
    // Add to Trend on row r: its value under the row's label; none for a row not selected or a
    // flag no word of this controller holds.
    std::optional<TrendItem> trendItem(int r) const;

    // Defining rows: a kind chosen in Combo1, keys and focus losses of the number box Text1.
    void kindChosen(int r, int16_t kind);
    void setNumberText(int r, const QString& text);
    bool numberKey(int r, QChar key);  // whether the key goes into the box
    void numberFocusLost(int r);

    // The value box Text2: typing holds the row back from the tick, Enter writes it.
    void setValueText(int r, const QString& text);
    bool valueKey(int r, QChar key);
    void valueDelete(int r);
    void valueFocusLost(int r);

    // The Display menu.
    void displayLabels();
    void displayResources();

    // The File menu; Exit is the window's own close.
    bool filesAvailable() const { return files_ != nullptr; }
    const QString& filePath() const { return services_.state.files.*twin_.file; }
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();

    // PollBlock
    bool isOpen() const override { return lifecycle_.isOpen(); }
    void refresh(PollContext& context) override;

private:
    CustomRow& rowAt(int r) { return rows_.at(static_cast<size_t>(r)); }
    QString& numberBox(int r) { return numberText_.at(static_cast<size_t>(r)); }
    QString& valueBox(int r) { return valueText_.at(static_cast<size_t>(r)); }
    void showRows();
    void readFile();
    void writeFile();
    void applyNumber(int r);
    void relabel(int r);
    void writeValue(int r);
    QString readValue(PollContext& context, const CustomRow& row);
    bool flagHeld(int32_t flag) const;
    void limitMessage(const LimitMessage& message);
    void draw();

    const CustomScreenTwin& twin_;
    ResourceServices services_;
    CustomScreenFiles* files_;
    WindowLifecycle lifecycle_;
    CustomScreenView* view_ = nullptr;
    CustomRows rows_;
    std::array<QString, RowCount> numberText_;
    std::array<QString, RowCount> valueText_;
    QStringList kindList_;
    bool resourceMode_ = false;
    // Custom1EditActive / Custom1EditRow: the number and value boxes share it.
    EditGuard guard_;
};

// A row as a new screen has it.
CustomRow notSelectedRow();

}  // namespace zel
