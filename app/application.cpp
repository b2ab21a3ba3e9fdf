#include "app/application.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <utility>

#include "common/delay.h"
#include "settings/first_run.h"
#include "app/frm_splash.h"
#include "settings/settings_file.h"
#include "symbols/symbol_file_dialog.h"

namespace zel {

Application::Application(const CommandLine& commandLine)
    : commandLine_(commandLine),
      log_(commandLine.logFile),
      store_(commandLine.settingsFile.isEmpty() ? settings::defaultSettingsPath()
                                                : commandLine.settingsFile),
      library_(DynamicZelLibrary::candidateFiles(QApplication::applicationDirPath())),
      link_(library_),
      model_(state_, store_, link_, log_, window_),
      symbols_(state_.files, symbolUi()),
      symbolProgress_(symbols_.progress(), &window_) {
    model_.setSymbols(symbols_);
    model_.setShutdownStart([this] { link_.refuseControllerCalls(); });
    window_.attach(model_);
}

symbols::SymbolUi Application::symbolUi() {
    symbols::SymbolUi ui;
    ui.setMessage = [this](const QString& text) { model_.setMessage(text); };
    ui.setBusyPointer = symbols::setBusyPointer;
    ui.repaintMain = [this] { window_.repaint(); };
    ui.pump = [] { QApplication::processEvents(); };
    ui.chooseFile = symbols::openDialogChooser(&window_);
    return ui;
}

void Application::start() {
    frmSplash splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    const CommandLineFiles files = sortCommandLineFiles(commandLine_.files);
    reportMissingFiles(files.missing);
    loadSettings();
    model_.load(files.symbolFile, !commandLine_.loadRememberedFiles);
    // The wait is spent readying the main window, so it appears sooner once the wait is over.
    Delay(0.5f, [this, prepared = false]() mutable {
        if (!std::exchange(prepared, true)) window_.prepareToShow();
        QApplication::processEvents();
    });

    splash.close();
    window_.show();
    openFiles(files);
}

void Application::reportMissingFiles(const QStringList& names) {
    for (const QString& name : names) {
        const QString text = QStringLiteral("Cannot find ") + name;
        std::fprintf(stderr, "zelmon: %s\n", qPrintable(text));
        log_.write(text);
        QMessageBox::warning(nullptr, QApplication::applicationName(), text);
    }
}

// The refusals come last, so the status line ends on them rather than on a window's loading.
void Application::openFiles(const CommandLineFiles& files) {
    if (!files.customScreenFile.isEmpty()) window_.openCustomScreenFile(files.customScreenFile);
    if (!files.tableFile.isEmpty()) window_.openTableFile(files.tableFile);
    for (const QString& text : files.refused) {
        std::fprintf(stderr, "zelmon: %s\n", qPrintable(text));
        model_.setMessage(text);
    }
}

void Application::loadSettings() {
    const settings::LoadReport report = store_.load(settings::firstRunSettings());
    if (!log_.openError().isEmpty())
        std::fprintf(stderr, "zelmon: cannot write the log file %s\n", qPrintable(log_.openError()));
    if (report.message.isEmpty()) return;
    log_.write(report.message);
    QMessageBox::warning(nullptr, QApplication::applicationName(), report.message);
}

}  // namespace zel
