// The main window's rules: its load and shutdown sequences, the status line, and the polling
// timers' ticks. It owns the connection manager and reaches the screen only through MainView.
#pragma once

#include <QStringList>
#include <functional>

#include "common/app_state.h"
#include "link/connection_manager.h"
#include "link/recording_zel_library.h"
#include "settings/main_settings.h"
#include "app/main_view.h"
#include "app/monitoring_control.h"
#include "app/run_control.h"
#include "app/polling_cycle.h"
#include "app/tick_read_cache.h"
#include "settings/settings_store.h"
#include "setup/setup_host.h"
#include "flash/firmware_update_view.h"
#include "app/status_log.h"
#include "symbols/symbol_service.h"
#include "link/zel_library.h"
#include "trends/trend_block.h"
#include "trends/trend_log.h"
#include "trends/trend_set.h"

namespace zel {

class MainWindowModel : public ConnectionUi, public SetupHost, public FirmwareHost {
public:
    MainWindowModel(AppState& state, settings::SettingsStore& store, ZelLibrary& library,
                    StatusLog& log, MainView& view);

    // The load steps, in order, ending with the first connection attempt. The symbol file is
    // the one named on the command line and found, else empty. `askWhichFiles` false loads
    // every remembered file without showing the start-up file choice.
    void load(const QString& commandLineSymbolFile, bool askWhichFiles = true);
    // The symbols the load imports and the shutdown closes; none in tests that need none.
    void setSymbols(symbols::SymbolService& service) { symbols_ = &service; }
    symbols::SymbolService* symbols() { return symbols_; }
    // Closes the connection and writes the main window's four settings sections.
    void shutdown();
    // Runs as the shutdown begins: the application stops calls that would wait on the
    // controller, so closing takes no longer than the call in hand.
    void setShutdownStart(std::function<void()> hook) { shutdownStart_ = std::move(hook); }

    // A window button: asks first when there is no link, shows the loading text (if any), lets
    // `show` title, show and flag the window, then shows the loaded text (if any). False when
    // the user declined.
    bool openChildWindow(const QString& loading, const QString& loaded,
                         const std::function<void()>& show);

    // The polling tick (Timer1) and the start of polling (Timer3).
    void pollingTick();
    void startTimerTick();

    // The status line: shown, repainted at once, and logged.
    void setMessage(const QString& text) override;
    // A passing status, such as the row a transfer is at: shown and repainted, not logged.
    void showProgress(const QString& text) {
        message_ = text;
        view_.setStatus(text);
        view_.refreshMessage();
    }
    QString message() const { return message_; }

    ConnectionManager& connection() { return connection_; }
    AppState& state() { return state_; }
    // Every call of the monitor goes through here: the tick's register reads shared, the calls
    // made recorded while the traffic window is open.
    ZelLibrary& library() { return library_; }
    RecordingZelLibrary& traffic() { return recorder_; }
    settings::SettingsStore& settingsStore() { return store_; }
    PollingCycle& polling() { return polling_; }
    RunControl& runControl() { return runControl_; }
    MonitoringControl& monitoring() { return monitoring_; }

    // The trended set, read by its block at the end of every tick, and its log.
    TrendSet& trends() { return trends_; }
    TrendBlock& trendBlock() { return trendBlock_; }
    TrendLog& trendLog() { return trendLog_; }
    // Adds a value to the set and says so in the status line.
    void addToTrend(const TrendItem& item);
    // Logging stops first: its columns are the set's.
    void clearTrends();
    void stopLogging();
    // Which entries of the Trends menu make sense now: logging needs a set and can only stop
    // while it runs.
    struct TrendCommands {
        bool startLogging;
        bool stopLogging;
        bool clear;
    };
    TrendCommands trendCommands() const {
        return {!trends_.empty() && !trendLog_.active(), trendLog_.active(), !trends_.empty()};
    }

    // ConnectionUi, for the connection manager: forwarded to the view, the status line logged.
    void setStatus(const QString& text) override { setMessage(text); }
    void refreshMessage() override { view_.refreshMessage(); }
    void setMainTitle(const QString& title) override { view_.setMainTitle(title); }
    void setDdeMessage(const QString& text) override { view_.setDdeMessage(text); }
    void connectionCaptionChanged(const QString& caption) override {
        view_.connectionCaptionChanged(caption);
    }
    void setPollingInterval(int milliseconds) override { view_.setPollingInterval(milliseconds); }
    void enableStartTimer() override { view_.enableStartTimer(); }
    void repaintMain() override { view_.repaintMain(); }
    void processEvents() override { view_.processEvents(); }
    void pause(int milliseconds) override { view_.pause(milliseconds); }

    // SetupHost, for the setup dialog.
    void stopPollingTimer() override { view_.enablePollingTimer(false); }
    void startPollingTimer(int intervalMs) override {
        view_.setPollingInterval(intervalMs);
        view_.enablePollingTimer(true);
    }
    void enableReconnectTimer() override { view_.enableReconnectTimer(true); }
    void setDdeNode(const QString& text) override { view_.setDdeNode(text); }
    void showMessageBox(const QString& text) override { view_.showPlainMessage(text); }

    // FirmwareHost, for the firmware update: after it, the link is made again and polled.
    void resumePolling() override;
    void writeLog(const QString& text) override { log_.write(text); }

private:
    void showMessages(const QStringList& messages);
    void chooseStartupFiles(settings::WindowPlacement& placement);
    void reportLibraryProblem();

    AppState& state_;
    settings::SettingsStore& store_;
    RecordingZelLibrary recorder_;
    TickReadCache reads_;
    ZelLibrary& library_;
    StatusLog& log_;
    MainView& view_;
    ConnectionManager connection_;
    PollingCycle polling_;
    RunControl runControl_;
    MonitoringControl monitoring_;
    TrendSet trends_;
    TrendLog trendLog_;
    TrendBlock trendBlock_;
    symbols::SymbolService* symbols_ = nullptr;
    std::function<void()> shutdownStart_;
    QString message_;
    // The remembered names of a dismissed start-up choice, not in use this run.
    FileSettings setAsideFiles_;
};

}  // namespace zel
