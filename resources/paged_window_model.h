// The rules every paged resource window shares: a page of 16 numbered rows, the scroll
// position and its maximum, the GoTo box, relabelling while the scroll box is dragged, row
// names, the edit guard of the value boxes, label clicks, load and unload. Each window's model
// adds its value rules: what the polling tick reads into a row and what a row writes.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "link/poll_block.h"
#include "resources/edit_guard.h"
#include "resources/resource_services.h"
#include "resources/row_naming.h"
#include "resources/row_polling.h"
#include "resources/window_lifecycle.h"
#include "trends/trend_item.h"

namespace zel {

// What makes one paged window differ from another.
struct PageRules {
    std::optional<settings::PlacementSection> section;  // none: the window keeps no placement
    bool WindowOpenFlags::*openFlag;
    const char* unloadText;
    int32_t base = 0;  // the resource number of row r is base + first + r
    // The GoTo limits; a gotoHigh of 0 stands for base + the scroll maximum.
    int32_t gotoLow = 1;
    int32_t gotoHigh = 0;
    const char* gotoDesignText = "1";
    // Letters that always empty the GoTo box, and letters that send a value box's focus there.
    const char* gotoResetKeys = "";
    const char* valueGotoKeys = "";
    bool valueGotoKeysEmptyGoto = false;  // those letters also empty the GoTo box
    int largeStep = 16;
    // The GoTo box uses the value boxes' edit guard as its "started" flag.
    bool gotoSharesEditGuard = false;
    // What the window calls one of its values when it is trended without a symbol name.
    const char* trendName = "";
};

// The registers a row reads and writes, first..last.
struct RowRegisters {
    int32_t first = 0;
    int32_t last = 0;
};

struct PageRow {
    QString number;  // Label2
    QString name;    // Label1
    QString value;   // the value box's text or the button's or panel's caption
    StateColour colour = StateColour::Black;
};

class PagedWindowModel : public PollBlock {
public:
    static constexpr int PageSize = 16;

    PagedWindowModel(ResourceServices services, PageRules rules);
    ~PagedWindowModel() override = default;
    PagedWindowModel(const PagedWindowModel&) = delete;
    PagedWindowModel& operator=(const PagedWindowModel&) = delete;

    void setView(WindowView* view) { view_ = view; }

    // Load and unload (placement per the window's section, open flag, unload text).
    std::optional<settings::WindowPlacement> open();
    void unload(settings::DisplayState display, const settings::WindowPlacement& current);
    bool isLoaded() const { return lifecycle_.isLoaded(); }

    // The page: VScroll1's position ("first"), its maximum and large step.
    int first() const { return first_; }
    int maximum() const { return maximum_; }
    int largeStep() const { return rules_.largeStep; }
    int32_t resourceNumber(int row) const { return rules_.base + first_ + row; }
    const PageRow& row(int r) const { return rows_.at(static_cast<size_t>(r)); }
    // The registers behind row r: its resource number unless the window maps it elsewhere.
    virtual RowRegisters rowRegisters(int r) const {
        return {resourceNumber(r), resourceNumber(r)};
    }

    // A changed scroll position (step, page, release of the scroll box, or a jump): relabels.
    void setPosition(int position);
    // The scroll box dragged to `position` at `secondsOfDay`: relabels at most every 2 seconds.
    void scrollDragged(int position, double secondsOfDay);

    // The GoTo box. gotoKey returns whether the key goes into the box.
    const QString& gotoText() const { return gotoText_; }
    void setGotoText(const QString& text) { gotoText_ = text; }
    bool gotoKey(QChar key);
    void labelClicked();

    // The value boxes. valueKey returns whether the key goes into the box. The window may
    // change a box's text as it is set, so each change is drawn.
    void setValueText(int r, const QString& text);
    bool valueKey(int r, QChar key);
    void valueDelete(int r);
    void valueFocusLost(int r);
    const EditGuard& editGuard() const { return guard_; }

    // Add to Trend on row r: its value under its symbol name, else under the window's name for
    // it ("Register 120"); none for a row the controller does not have.
    std::optional<TrendItem> trendItem(int r) const;

    // PollBlock
    bool isOpen() const override { return lifecycle_.isOpen(); }

protected:
    // The window's maximum for VScroll1, worked out when it loads.
    virtual int scrollMaximum() const = 0;
    // The row's name from the symbols or the window's default; `atLoad` for the first page.
    virtual QString rowName(int32_t number, bool atLoad) const = 0;
    // The symbol name of resource `number`; empty when it has none.
    virtual QString symbol(int32_t number) const = 0;
    // Where the controller keeps the value of resource `number`; none for a value that cannot
    // be trended.
    virtual std::optional<TrendSource> trendSource(int32_t number) const = 0;
    // How many of the resource the controller has; rows above it load as "Not Present".
    virtual std::optional<int32_t> presentCount() const { return std::nullopt; }
    // The value control's text when the window loads.
    virtual QString loadValue(bool present) const = 0;
    // Called for each row as a new page is labelled.
    virtual void relabelRow(PageRow&) {}
    // Enter in the box of `r` while there is a link; the guard is released afterwards.
    virtual void writeRow(int) {}
    // Called when the window loads, before its rows.
    virtual void resetWindow() {}
    // The text of row r's value box has changed: typed, emptied or shown by the window.
    virtual void valueChanged(int) {}

    // Moves the window onto the numbers above `base`: row r shows base + first + r and the
    // GoTo box takes base + 1 upwards. The page is not redrawn.
    void setBase(int32_t base);
    // Page 1 with the scroll maximum worked out afresh and every row as the window loads it.
    void showFirstPage();
    // The row under edit is given back to the polling tick; its box keeps its text.
    void releaseEditGuard() { guard_.release(); }

    // Runs `readRow` for each row not under edit, letting events run after every fourth row;
    // stops when the window closes or the link is lost meanwhile. Returns the first row not
    // reached (PageSize after a full pass).
    int refreshRows(PollContext& context, const std::function<void(int)>& readRow);
    PageRow& rowAt(int r) { return rows_.at(static_cast<size_t>(r)); }
    void draw();

    ResourceServices services_;

private:
    void loadRows();
    void relabel();
    void jump();
    bool& gotoStarted();
    void focusGoto();

    PageRules rules_;
    WindowLifecycle lifecycle_;
    EditGuard guard_;
    WindowView* view_ = nullptr;
    std::array<PageRow, PageSize> rows_;
    int first_ = 1;
    int maximum_ = 1;
    QString gotoText_;
    bool gotoStarted_ = false;
    double lastScrollTime_ = -1;
};

}  // namespace zel
