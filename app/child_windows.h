// What the main window does with any child window, whatever its form: make it once, open it,
// retitle it when the connection caption changes, give its block to the polling tick, close it
// at shutdown.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <type_traits>

#include "app/main_window_model.h"
#include "app/window_list.h"
#include "common/symbol_lookup.h"
#include "dde/dde_model.h"
#include "link/poll_block.h"
#include "resources/paged_form.h"

namespace zel {

class frmDDE;

class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    // The window's widget; null once Qt has deleted it.
    virtual QWidget* widget() const = 0;
    virtual void open() = 0;
    // Closes the window if it shows; it saves its own settings as it unloads.
    virtual void closeIfShown() {
        if (QWidget* w = widget(); w && w->isVisible()) w->close();
    }
    virtual void captionChanged(const QString& caption) = 0;
    // Its part of the polling tick; null for a window that has none.
    virtual PollBlock* pollBlock() { return nullptr; }
};

// What a window's maker gets.
struct WindowContext {
    MainWindowModel& model;
    QWidget* mainWindow;
    // Another child window, made on first use.
    std::function<ChildWindow*(WindowId)> window;

    std::function<void(const QString&)> messageSink() const {
        return [&model = model](const QString& text) { model.setMessage(text); };
    }
    // Where a window's Add to Trend hands the value it chose.
    std::function<void(const TrendItem&)> trendSink() const {
        return [&model = model](const TrendItem& item) { model.addToTrend(item); };
    }
};

// A form whose open(), retitle(caption) and pollBlock() (if it has one) are its own, kept by a
// guarded pointer.
template <typename Form>
class FormWindow : public ChildWindow {
public:
    explicit FormWindow(Form* form) : form_(form) {}
    QWidget* widget() const override { return form_.data(); }
    void open() override { form_->open(); }
    void captionChanged(const QString& caption) override { form_->retitle(caption); }
    PollBlock* pollBlock() override {
        if constexpr (requires(Form& f) { f.pollBlock(); })
            return &form_->pollBlock();
        else
            return nullptr;
    }
    Form* form() const { return form_.data(); }

private:
    QPointer<Form> form_;
};

// The maker of a resource window: a form made from the monitor's state, library, settings and
// symbols, with the main window's status line.
// "Show Traffic" on a paged window's rows opens the traffic window on the row's registers.
void connectShowTraffic(PagedForm& form, WindowContext& context);

template <typename Form>
ChildWindow* makeResourceForm(WindowContext& context) {
    MainWindowModel& m = context.model;
    SymbolLookup* symbols = m.symbols() ? &m.symbols()->lookup() : nullptr;
    auto* form = new Form(m.state(), m.library(), m.settingsStore(), symbols,
                          context.messageSink(), context.mainWindow);
    form->setTrendSink(context.trendSink());
    if constexpr (std::is_base_of_v<PagedForm, Form>) connectShowTraffic(*form, context);
    return new FormWindow<Form>(form);
}

// The makers of the windows that are made in a way of their own.
ChildWindow* makeServos(WindowContext& context);
ChildWindow* makeDataTable(WindowContext& context);
ChildWindow* makeTableMonitor(WindowContext& context);
ChildWindow* makeStepStatus(WindowContext& context);
ChildWindow* makeClock(WindowContext& context);
ChildWindow* makeSetup(WindowContext& context);
ChildWindow* makeProgramTransfer(WindowContext& context);
ChildWindow* makeRegisterCompare(WindowContext& context);
ChildWindow* makeTraffic(WindowContext& context);
ChildWindow* makeCustom1(WindowContext& context);
ChildWindow* makeCustom2(WindowContext& context);
ChildWindow* makeDde(WindowContext& context);
ChildWindow* makeFirmwareUpdate(WindowContext& context);
ChildWindow* makeTrend(WindowContext& context);

// The DDE window. Its model is made with it, during the main window's load, so that the
// exchange, the bus service and the status texts run from start-up. Its form, which only draws
// the model, comes later: hidden during the splash's wait, or as it first opens; until then
// its caption waits here.
class DdeWindow final : public ChildWindow {
public:
    explicit DdeWindow(WindowContext& context);
    ~DdeWindow() override;
    QWidget* widget() const override;
    void open() override;
    void captionChanged(const QString& caption) override;
    PollBlock* pollBlock() override { return &model_; }
    DdeModel& model() { return model_; }
    // Makes the form, hidden, if it is not made yet.
    void makeForm();

private:
    const AppState& state_;
    QWidget* parent_;
    DdeModel model_;
    QPointer<frmDDE> form_;
    std::optional<QString> caption_;
};

// After a write from another window, the DDE window's write box of the same kind
// (DdeModel::emptyRegWrite or emptyFlagWrite) is emptied.
std::function<void()> emptyingDdeBox(WindowContext& context, void (DdeModel::*empty)());

}  // namespace zel
