#include "app/child_windows.h"

#include <QApplication>

#include "app/window_buttons.h"
#include "datatable/frm_table.h"
#include "datatable/frm_table_mon.h"
#include "dde/frm_dde.h"
#include "flash/frm_prog_flash.h"
#include "resources/frm_servo.h"
#include "setup/frm_setup.h"
#include "transfer/frm_compare.h"
#include "transfer/frm_load_main.h"
#include "trends/frm_trend.h"
#include "traffic/frm_traffic.h"
#include "windows/custom_screen_file.h"
#include "windows/frm_custom.h"
#include "windows/frm_rtc.h"
#include "windows/frm_status.h"

namespace zel {
namespace {

// The two servo windows behind one button: servos 17-32 get their window only from a
// controller that has them.
class ServoWindows final : public ChildWindow {
public:
    explicit ServoWindows(WindowContext& context)
        : model_(context.model),
          sink_(context.messageSink()),
          trendSink_(context.trendSink()),
          parent_(context.mainWindow),
          first_(new frmServo(model_.state(), model_.library(), model_.settingsStore(), symbols(),
                              sink_, parent_)) {
        first_->setTrendSink(trendSink_);
    }

    QWidget* widget() const override { return first_.data(); }
    PollBlock* pollBlock() override { return &first_->pollBlock(); }
    void captionChanged(const QString& caption) override {
        first_->retitle(caption);
        if (second_) second_->retitle(caption);
    }
    void closeIfShown() override {
        ChildWindow::closeIfShown();
        if (second_ && second_->isVisible()) second_->close();
    }
    void open() override {
        if (needsSecondServoWindow(model_.state().connection.Counts.ServoCount())) {
            if (!second_)
                second_ = new frmServo2(model_.state(), model_.library(), model_.settingsStore(),
                                        symbols(), sink_, *first_, parent_);
            second_->setTrendSink(trendSink_);
            second_->open();
        }
        first_->open();
    }

private:
    SymbolLookup* symbols() const {
        return model_.symbols() ? &model_.symbols()->lookup() : nullptr;
    }

    MainWindowModel& model_;
    std::function<void(const QString&)> sink_;
    std::function<void(const TrendItem&)> trendSink_;
    QWidget* parent_;
    QPointer<frmServo> first_;
    QPointer<frmServo2> second_;
};

// The step status window is titled with the controller's address when its button opens it,
// and with its own title and the connection caption when the caption changes while it shows.
class StepStatusWindow final : public ChildWindow {
public:
    explicit StepStatusWindow(WindowContext& context)
        : model_(context.model),
          form_(new frmStatus(model_.state(), model_.settingsStore(), context.messageSink(),
                              context.mainWindow)) {
        if (auto* symbols = model_.symbols()) {
            form_->setStepNameLookup([symbols](int32_t step) {
                return symbols->lookup().name(SymbolCode::Step, step);
            });
        }
    }

    QWidget* widget() const override { return form_.data(); }
    PollBlock* pollBlock() override { return &form_->pollBlock(); }
    void open() override {
        form_->open();
        form_->setWindowTitle(stepStatusTitle(model_.state().settings.ControllerIP));
    }
    void captionChanged(const QString& caption) override {
        if (form_->isVisible()) form_->setWindowTitle(QStringLiteral("Step Status") + caption);
    }

private:
    MainWindowModel& model_;
    QPointer<frmStatus> form_;
};

// The clock window opens beside the main window and keeps its own title.
class ClockWindow final : public ChildWindow {
public:
    explicit ClockWindow(WindowContext& context)
        : main_(context.mainWindow), form_(new frmRTC(context.model.state(), main_)) {}

    QWidget* widget() const override { return form_.data(); }
    PollBlock* pollBlock() override { return &form_->pollBlock(); }
    void open() override { form_->open(main_->pos()); }
    void captionChanged(const QString&) override {}

private:
    QWidget* main_;
    QPointer<frmRTC> form_;
};

// The setup dialog counts as open from the moment it is asked for, so the tick stays out of
// the link while it loads the current values.
class SetupWindow final : public ChildWindow {
public:
    explicit SetupWindow(WindowContext& context)
        : model_(context.model),
          form_(new frmSetup(model_.state(), model_.library(), model_, context.mainWindow)) {}

    QWidget* widget() const override { return form_.data(); }
    void open() override {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        model_.state().flags.SetupOpen = true;
        QApplication::processEvents();
        form_->show();
        form_->loadCurrentValues();
        QApplication::restoreOverrideCursor();
        form_->activateWindow();
    }
    void captionChanged(const QString&) override {}

private:
    MainWindowModel& model_;
    QPointer<frmSetup> form_;
};

// The program transfer window opens beside the main window and keeps its own title.
class ProgramTransferWindow final : public ChildWindow {
public:
    explicit ProgramTransferWindow(WindowContext& context)
        : main_(context.mainWindow),
          form_(new frmLoadMain(context.model.state(), context.model.library(), main_)) {}

    QWidget* widget() const override { return form_.data(); }
    void open() override { form_->open(main_->pos()); }
    void captionChanged(const QString&) override {}

private:
    QWidget* main_;
    QPointer<frmLoadMain> form_;
};

// Both screens read and write their definition files on disk; the store keeps no state.
ChildWindow* makeCustom(WindowContext& context, CustomScreen screen) {
    static CustomScreenFileStore files;
    MainWindowModel& m = context.model;
    SymbolLookup* symbols = m.symbols() ? &m.symbols()->lookup() : nullptr;
    auto* form = new frmCustom(screen, m.state(), m.library(), m.settingsStore(), symbols,
                               context.messageSink(), &files, context.mainWindow);
    form->setTrendSink(context.trendSink());
    return new FormWindow<frmCustom>(form);
}

}  // namespace

ChildWindow* makeCustom1(WindowContext& context) {
    return makeCustom(context, CustomScreen::First);
}
ChildWindow* makeCustom2(WindowContext& context) {
    return makeCustom(context, CustomScreen::Second);
}
ChildWindow* makeServos(WindowContext& context) { return new ServoWindows(context); }

// The data table window; its "&Monitor Setup" opens the monitor setup window over its table.
ChildWindow* makeDataTable(WindowContext& context) {
    MainWindowModel& m = context.model;
    auto* form = new frmTable(m.state(), m.library(), m.settingsStore(), context.messageSink(),
                              [&m](const QString& text) { m.showProgress(text); },
                              context.mainWindow);
    form->setTrendSink(context.trendSink());
    form->setMonitorSetupHandler(
        [window = context.window] { window(WindowId::TableMonitor)->open(); });
    return new FormWindow<frmTable>(form);
}

ChildWindow* makeTableMonitor(WindowContext& context) {
    frmTable* table = static_cast<FormWindow<frmTable>*>(context.window(WindowId::DataTable))->form();
    return new FormWindow<frmTableMon>(new frmTableMon(
        table->model().table(), [table](int16_t ms) { table->setMonitorInterval(ms); },
        context.mainWindow));
}
ChildWindow* makeStepStatus(WindowContext& context) { return new StepStatusWindow(context); }
ChildWindow* makeClock(WindowContext& context) { return new ClockWindow(context); }
ChildWindow* makeSetup(WindowContext& context) { return new SetupWindow(context); }
ChildWindow* makeProgramTransfer(WindowContext& context) {
    return new ProgramTransferWindow(context);
}

ChildWindow* makeRegisterCompare(WindowContext& context) {
    MainWindowModel& m = context.model;
    SymbolLookup* symbols = m.symbols() ? &m.symbols()->lookup() : nullptr;
    return new FormWindow<frmCompare>(new frmCompare(m.state(), m.library(), symbols,
                                                     context.messageSink(), context.mainWindow));
}

DdeWindow::DdeWindow(WindowContext& context)
    : state_(context.model.state()),
      parent_(context.mainWindow),
      model_(context.model.state(), context.model.library(),
             {context.messageSink(),
              [&m = context.model](int ms) { m.setPollingInterval(ms); },
              {},
              {}}) {
    model_.load();
}

// The form goes first: it draws the model until it is gone.
DdeWindow::~DdeWindow() { delete form_.data(); }

QWidget* DdeWindow::widget() const { return form_.data(); }

void DdeWindow::makeForm() {
    if (form_) return;
    form_ = new frmDDE(model_, state_, parent_);
    if (caption_) form_->retitle(*caption_);
}

void DdeWindow::open() {
    makeForm();
    form_->open();
}

void DdeWindow::captionChanged(const QString& caption) {
    if (form_)
        form_->retitle(caption);
    else
        caption_ = caption;
}

ChildWindow* makeDde(WindowContext& context) { return new DdeWindow(context); }

std::function<void()> emptyingDdeBox(WindowContext& context, void (DdeModel::*empty)()) {
    return [window = context.window, empty] {
        (static_cast<DdeWindow*>(window(WindowId::DdeSetup))->model().*empty)();
    };
}

ChildWindow* makeFirmwareUpdate(WindowContext& context) {
    MainWindowModel& m = context.model;
    return new FormWindow<frmProgFlash>(
        new frmProgFlash(m.state(), m.library(), m, context.mainWindow));
}

ChildWindow* makeTrend(WindowContext& context) {
    MainWindowModel& m = context.model;
    return new FormWindow<frmTrend>(
        new frmTrend(m.trends(), m.settingsStore(), context.messageSink(), context.mainWindow));
}

void connectShowTraffic(PagedForm& form, WindowContext& context) {
    form.setShowTrafficHandler([window = context.window](RowRegisters registers) {
        auto* traffic = static_cast<FormWindow<frmTraffic>*>(window(WindowId::Traffic));
        traffic->form()->showRegisters(registers.first, registers.last);
    });
}

ChildWindow* makeTraffic(WindowContext& context) {
    MainWindowModel& m = context.model;
    return new FormWindow<frmTraffic>(
        new frmTraffic(m.traffic(), m.settingsStore(), context.messageSink(), context.mainWindow));
}

}  // namespace zel
