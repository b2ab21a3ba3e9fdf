// The main window: the status line, the window and run buttons, the menus and the three timers.
// It draws what its model decides and hands every event to it.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>

#include "app/child_windows.h"
#include "app/main_view.h"
#include "app/window_list.h"
#include "dde/dde_commands.h"

class QLabel;
class QMenu;
class QPushButton;

namespace zel {

class DdeBusService;
class DdeWindow;
class MainWindowModel;
class RegisterFileMenu;

class frmMain : public QMainWindow, public MainView, public MainControls {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Connects the window to its rules; done once, before the load.
    void attach(MainWindowModel& model);

    // Draws the window once off screen while it is still hidden. That polishes and lays out
    // every widget and fills the font and style caches, so that showing it later only has to
    // draw from warm caches. Then gives the DDE window, whose model the load made, its form,
    // still hidden. Start-up does both during the splash's wait, so neither delays the window.
    void prepareToShow();

    // MainView
    void setStatus(const QString& text) override;
    void refreshMessage() override;
    void setMainTitle(const QString& title) override { setWindowTitle(title); }
    void setDdeMessage(const QString& text) override;
    void connectionCaptionChanged(const QString& caption) override;
    void setPollingInterval(int milliseconds) override { Timer1.setInterval(milliseconds); }
    void enableStartTimer() override { Timer3.start(); }
    void repaintMain() override { repaint(); }
    void processEvents() override;
    void pause(int milliseconds) override;
    void showPlainMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    bool askYesNo(const QString& text) override;
    bool askOkCancel(const QString& text) override;
    void chooseStartupFiles(StartupFiles& choice) override;
    void setBusy(bool busy) override;
    void setPlacement(const settings::WindowPlacement& twips) override;
    settings::WindowPlacement placement() const override;
    settings::DisplayState displayState() const override;
    void enablePollingTimer(bool enabled) override;
    void disableStartTimer() override { Timer3.stop(); }
    void enableReconnectTimer(bool enabled) override;
    void showSuspendButton(const QString& caption, StateColour colour) override;
    void enableRunButtons(bool enabled) override;
    void setDdeNode(const QString& text) override;
    void loadDdeWindow() override;

    // A main window command of a DDE client ("REGISTERS", "START", ...), in any case: clicks
    // its button or menu entry. False, changing nothing, for a text that is no command or a
    // command whose control is missing or disabled.
    bool executeCommand(const QString& command);

    // MainControls: the window's own buttons and menu entries, not those of its child windows.
    State controlState(const QString& control) const override;
    void click(const QString& control) override;

    // Files named on the command line: a definition file becomes the first custom screen's
    // file, as its File Open makes it, and the screen opens; a table file is read into the data
    // table window once that has opened and read the controller's table.
    void openCustomScreenFile(const QString& path);
    void openTableFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildButtons();
    void buildMenus();
    void addWindowEntries(QMenu* menu, Opener opener);
    QPushButton* addButton(const char* name, const QString& caption);
    void openManual();
    void openRegisterFile();
    // The register file menu entries, made on first use.
    RegisterFileMenu& registerFiles();
    // The child window of `id`, made on first use; it joins the polling tick as it is made.
    ChildWindow* window(WindowId id);
    // The DDE window once the load has made it, else null.
    DdeWindow* madeDdeWindow() const;
    // Opens the window as its button does: asking first while there is no link, with its
    // status texts.
    void openAsking(const WindowEntry& entry);
    void closeChildWindows();
    void showAbout();
    double dpi() const;

    MainWindowModel* model_ = nullptr;
    QLabel* Message = nullptr;
    QPushButton* SuspendButton = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* StopButton = nullptr;
    QPushButton* ResetButton = nullptr;
    QTimer Timer1;
    QTimer Timer2;
    QTimer Timer3;
    bool closing_ = false;
    std::map<WindowId, std::unique_ptr<ChildWindow>> windows_;
    settings::PlacedWindow placed_;
    std::unique_ptr<RegisterFileMenu> registerFiles_;
    // Serves the DDE window's items, so it goes before the windows.
    std::unique_ptr<DdeBusService> bus_;
};

}  // namespace zel
