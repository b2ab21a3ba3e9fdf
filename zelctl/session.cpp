#include "zelctl/session.h"

#include <QFileInfo>
#include <QThread>
#include <cstdio>

#include "common/number_text.h"
#include "link/connection_caption.h"
#include "link/connection_manager.h"
#include "link/host_resolution.h"
#include "link/lib_error.h"
#include "settings/first_run.h"
#include "settings/main_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_store.h"
#include "settings/window_placement.h"
#include "zelctl/connection_argument.h"
#include "zelctl/exit_status.h"

namespace zel::ctl {
namespace {

// Library codes from this one on are the controller's own refusals.
constexpr int32_t kFirstControllerError = 200;

// There is no window: the connection manager's status lines and timers go nowhere, and its
// pauses are plain waits.
class NoWindow final : public ConnectionUi {
public:
    void setStatus(const QString&) override {}
    void refreshMessage() override {}
    void setMainTitle(const QString&) override {}
    void setDdeMessage(const QString&) override {}
    void connectionCaptionChanged(const QString&) override {}
    void setPollingInterval(int) override {}
    void enableStartTimer() override {}
    void repaintMain() override {}
    void processEvents() override {}
    void pause(int milliseconds) override { QThread::msleep(static_cast<unsigned long>(milliseconds)); }
};

}  // namespace

void printError(const QString& text) {
    std::fprintf(stderr, "zelctl: %s\n", qPrintable(text));
}

Session::Session(const QString& applicationFolder)
    : library_(DynamicZelLibrary::candidateFiles(applicationFolder)) {}

Session::~Session() {
    if (handle() > 0) library_.ZlCloseConnection(handle());
}

bool Session::settingsFromProfile(const QString& file, QString& error) {
    const QString path = file.isEmpty() ? settings::defaultSettingsPath() : file;
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("no connection given, and there is no settings profile ") + path;
        return false;
    }
    settings::SettingsStore store(path);
    const settings::LoadReport report = store.load(settings::firstRunSettings());
    if (report.outcome != settings::LoadOutcome::Loaded) {
        error = report.message;
        return false;
    }
    settings::WindowPlacement placement;
    QStringList messages;
    settings::loadMainSettings(store, {}, {state_, placement}, messages);
    resolveControllerHost(state_.settings);
    return true;
}

int Session::open(const Arguments& arguments) {
    if (!library_.isLoaded()) {
        printError(library_.loadError());
        return kLinkFailure;
    }
    QString error;
    if (!arguments.connection.isEmpty()) {
        const std::optional<ConnectionSettings> settings =
            parseConnectionArgument(arguments.connection, error);
        if (!settings) {
            printError(error);
            return kBadUsage;
        }
        state_.settings = *settings;
    } else if (!settingsFromProfile(arguments.settingsFile, error)) {
        printError(error);
        return kBadUsage;
    }
    if (arguments.timeoutMs > 0) state_.settings.CommTimeout = arguments.timeoutMs;
    NoWindow ui;
    ConnectionManager manager(state_, library_, ui);
    if (manager.CheckComm() == CommCheck::Connected) return kSuccess;
    // The caption reads " - TCP/IP host" in a window title.
    const QString caption = startupConnectionCaption(state_.settings);
    return reportError(QStringLiteral("Cannot connect to ") +
                       (caption.startsWith(QStringLiteral(" - ")) ? caption.mid(3) : caption));
}

int Session::callFailed(const QString& what) {
    fetchLibError(library_, state_);
    return reportError(what);
}

int Session::reportError(const QString& what) {
    printError(what + QStringLiteral(": ") + trimBlanks(state_.LibError.text));
    return state_.LibError.code >= kFirstControllerError ? kControllerError : kLinkFailure;
}

}  // namespace zel::ctl
