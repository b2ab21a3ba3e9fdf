#include "app/main_window_model.h"

#include "app/window_buttons.h"
#include "link/connection_caption.h"
#include "link/link_session.h"

namespace zel {

MainWindowModel::MainWindowModel(AppState& state, settings::SettingsStore& store,
                                 ZelLibrary& library, StatusLog& log, MainView& view)
    : state_(state), store_(store), recorder_(library), reads_(recorder_), library_(reads_),
      log_(log), view_(view),
      connection_(state, library_, *this),
      polling_(state, library_, connection_, [this] { view_.processEvents(); },
               [this](const QString& text) { setMessage(text); }),
      runControl_(state, library_, view),
      monitoring_(state, library_, connection_, polling_, view,
                  [this](const QString& text) { setMessage(text); }),
      trendLog_([this](const QString& text) { setMessage(text); }),
      trendBlock_(trends_, trendLog_) {
    polling_.setReadCache(&reads_);
    polling_.addBlock(trendBlock_, TrendBlock::kTickPlace);
}

void MainWindowModel::addToTrend(const TrendItem& item) {
    setMessage(trends_.add(item) ? QStringLiteral("%1 added to trend.").arg(item.name)
                                 : QStringLiteral("%1 is already trended.").arg(item.name));
}

void MainWindowModel::clearTrends() {
    stopLogging();
    trends_.clear();
}

void MainWindowModel::stopLogging() {
    if (!trendLog_.active()) return;
    trendLog_.stop();
    setMessage(QStringLiteral("Logging stopped."));
}

void MainWindowModel::setMessage(const QString& text) {
    message_ = text;
    view_.setStatus(text);
    view_.refreshMessage();
    if (!text.isEmpty()) log_.write(text);
}

void MainWindowModel::load(const QString& commandLineSymbolFile, bool askWhichFiles) {
    state_.connection.ConnectFailedBefore = false;
    state_.flags.CommSettingsChanged = true;
    linkLost(state_);
    setMessage({});
    state_.flags.CommErrorFlag = true;

    QStringList messages;
    settings::WindowPlacement placement;
    settings::loadMainSettings(store_, commandLineSymbolFile, {state_, placement}, messages);
    state_.connection.ConnectionCaption = connection_.startupCaption();
    showMessages(messages);
    view_.setPlacement(placement);
    if (askWhichFiles && StartupFiles::offered(state_.files)) chooseStartupFiles(placement);
    if (symbols_) symbols_->importAtStartup();
    view_.loadDdeWindow();

    view_.setMainTitle(QString::fromLatin1(kMainWindowTitle) + state_.connection.ConnectionCaption);
    state_.RegisterLimit = kRegisterLimit;
    state_.connection.Counts = {};
    state_.connection.TaskCount = 0;

    state_.flags.UserSuspended = false;
    connection_.CheckComm();
    reportLibraryProblem();
}

// What the user leaves unticked is not loaded now and is forgotten at once, so a monitor that
// ends without a normal shutdown does not offer it again. A dismissed choice forgets nothing:
// its names wait to be saved again at shutdown.
void MainWindowModel::chooseStartupFiles(settings::WindowPlacement& placement) {
    StartupFiles choice(state_.files);
    view_.chooseStartupFiles(choice);
    setAsideFiles_ = choice.setAside();
    if (!choice.forgot()) return;
    QStringList messages;
    settings::saveMainSettings(store_, {state_, placement}, settings::DisplayState::Normal,
                               messages);
    showMessages(messages);
}

// A library that could not be loaded is named in the status line; the monitor goes on without
// a connection and keeps trying, so a library installed later is still not picked up until a
// restart, which the text says.
void MainWindowModel::reportLibraryProblem() {
    if (library_.isLoaded()) return;
    setMessage(library_.loadError() +
               QStringLiteral(" - no connection is possible until ZEL Monitor is restarted "
                              "with the library in place."));
}

void MainWindowModel::shutdown() {
    if (shutdownStart_) shutdownStart_();
    closeLink(state_, library_,
              [&] { view_.showPlainMessage(QStringLiteral("Failed to CLOSE network!")); });
    if (symbols_) symbols_->close();
    StartupFiles::restoreSetAside(state_.files, setAsideFiles_);
    QStringList messages;
    settings::WindowPlacement placement = view_.placement();
    settings::saveMainSettings(store_, {state_, placement}, view_.displayState(), messages);
    showMessages(messages);
}

void MainWindowModel::showMessages(const QStringList& messages) {
    for (const QString& m : messages) {
        log_.write(m);
        view_.showPlainMessage(m);
    }
}

bool MainWindowModel::openChildWindow(const QString& loading, const QString& loaded,
                                      const std::function<void()>& show) {
    if (state_.flags.NoCommunication && !view_.askOkCancel(kNoCommunicationQuestion)) return false;
    if (!loading.isEmpty()) setMessage(loading);
    view_.setBusy(true);
    show();
    view_.setBusy(false);
    if (!loaded.isEmpty()) setMessage(loaded);
    return true;
}

void MainWindowModel::pollingTick() { polling_.tick(); }

void MainWindowModel::resumePolling() {
    linkAttempted(state_, connection_.CheckComm());
    view_.enablePollingTimer(true);
}

void MainWindowModel::startTimerTick() {
    if (!state_.flags.StartPollingPending) return;
    view_.enablePollingTimer(true);
    state_.flags.StartPollingPending = false;
    view_.disableStartTimer();
}

}  // namespace zel
