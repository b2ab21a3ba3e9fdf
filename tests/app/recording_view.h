// A main window that records what its rules do to it, for tests without a display.
#pragma once

#include <QStringList>
#include <functional>

#include "app/main_view.h"

namespace zel::test {

class RecordingView : public MainView {
public:
    QString status;
    QString title;
    QStringList messageBoxes;
    settings::WindowPlacement placementTwips;
    settings::DisplayState state = settings::DisplayState::Normal;
    int pollingInterval = 0;
    bool pollingEnabled = false;
    bool startTimerEnabled = false;
    bool reconnectTimerEnabled = false;
    QString suspendCaption;
    StateColour suspendColour = StateColour::Black;
    bool runButtonsEnabled = true;
    QStringList questions;
    bool answerYes = true;

    void setStatus(const QString& text) override { status = text; }
    void refreshMessage() override {}
    void setMainTitle(const QString& t) override { title = t; }
    void setDdeMessage(const QString&) override {}
    void setDdeNode(const QString&) override {}
    void loadDdeWindow() override {}
    void connectionCaptionChanged(const QString&) override {}
    void setPollingInterval(int ms) override { pollingInterval = ms; }
    void enableStartTimer() override { startTimerEnabled = true; }
    void repaintMain() override {}
    // The event pump: a test may click or close things here, in the middle of a tick.
    std::function<void()> onProcessEvents;
    void processEvents() override {
        if (onProcessEvents) onProcessEvents();
    }
    void pause(int) override {}
    void showPlainMessage(const QString& text) override { messageBoxes << text; }
    void showWarning(const QString& text) override { messageBoxes << text; }
    bool askYesNo(const QString& text) override {
        questions << text;
        return answerYes;
    }
    bool askOkCancel(const QString& text) override {
        questions << text;
        return answerYes;
    }
    void setBusy(bool) override {}
    // frmFiles answered Okay with every box left as offered.
    void chooseStartupFiles(StartupFiles& choice) override { choice.accept(); }
    void enableReconnectTimer(bool enabled) override { reconnectTimerEnabled = enabled; }
    void showSuspendButton(const QString& caption, StateColour colour) override {
        suspendCaption = caption;
        suspendColour = colour;
    }
    void enableRunButtons(bool enabled) override { runButtonsEnabled = enabled; }
    void setPlacement(const settings::WindowPlacement& p) override { placementTwips = p; }
    settings::WindowPlacement placement() const override { return placementTwips; }
    settings::DisplayState displayState() const override { return state; }
    void enablePollingTimer(bool enabled) override { pollingEnabled = enabled; }
    void disableStartTimer() override { startTimerEnabled = false; }
};

}  // namespace zel::test
