// The form every paged window shares: sixteen rows of number (Label2), name (Label1) and value
// control (Text1 boxes, SSCommand1 buttons or SSPanel1 panels), the GoTo box with its Label3,
// and VScroll1. It hands keys, focus losses, clicks and scrolling to the window's model and
// draws the model's state.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "resources/paged_window_model.h"
#include "resources/resource_form.h"

class QGridLayout;
class QHBoxLayout;
class QScrollBar;

namespace zel {

enum class ValueControl {
    TextBox,          // Text1, typed into
    ReadOnlyTextBox,  // Text1, shown only
    Button,           // SSCommand1
    Panel,            // SSPanel1
};

struct PagedFormLayout {
    const char* baseTitle;
    ValueControl valueControl;
    const char* gotoName;  // "Text2" beside Text1 value boxes, else "Text1"
    bool names = true;     // the Label1 column of row names
};

class PagedForm : public ResourceForm, public WindowView {
    Q_OBJECT
public:
    // Loads the window on its first showing (placement, first page), sets its open flag and
    // shows it.
    void open();
    // The window's part of the polling tick; lives as long as the window.
    PollBlock& pollBlock() { return *model_; }
    // Gives every row's context menu "Show Traffic", which hands over the row's registers.
    void setShowTrafficHandler(std::function<void(RowRegisters)> handler);

    // WindowView
    void draw() override;
    void focusGoto() override;
    void releaseScrollBar() override;

protected:
    PagedForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
              SymbolLookup* symbols, MessageSink setMessage, PagedFormLayout layout,
              QWidget* parent);
    // Builds the controls for `model`; called once from the window's constructor.
    void attach(std::unique_ptr<PagedWindowModel> model);
    // The row beside the GoTo box, where a window adds its own controls.
    // Puts `control` at the end of the line of GoTo, after it in the Tab order too, though
    // the rows below were made first.
    void addToHeader(QWidget* control);
    // The grid of the rows: row r is on line gridLine(r), with line 0 left for column headings,
    // in columns 0 (Label2), 1 (Label1) and 2 (the value control); a window adds more columns.
    QGridLayout* rowGrid() { return rowGrid_; }
    static int gridLine(int r) { return r + 1; }
    QWidget* valueControl(int r) { return values_.at(static_cast<size_t>(r)); }
    // A click on the button of row r.
    virtual void valueClicked(int) {}
    virtual void drawExtras() {}

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QGridLayout* buildRows();
    QScrollBar* buildScrollBar();
    QWidget* newValueControl(int r);
    void drawRow(int r);
    bool gotoEvent(QEvent* event);
    bool valueBoxEvent(int r, QEvent* event);

    PagedFormLayout layout_;
    std::unique_ptr<PagedWindowModel> model_;
    std::array<QLabel*, PagedWindowModel::PageSize> Label1{};
    std::array<QLabel*, PagedWindowModel::PageSize> Label2{};
    std::array<QWidget*, PagedWindowModel::PageSize> values_{};
    std::array<StateColour, PagedWindowModel::PageSize> colours_{};
    QLabel* Label3 = nullptr;
    QLineEdit* goto_ = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QHBoxLayout* header_ = nullptr;
    QWidget* lastInHeader_ = nullptr;
    QGridLayout* rowGrid_ = nullptr;
    std::function<void(RowRegisters)> showTraffic_;
};

// Shows `text` in a label, button or text box, leaving it alone when it already shows it.
void showText(QWidget* control, const QString& text);

}  // namespace zel
