// A main window that records what its rules do to it, for tests without a display.
#pragma once

#include <QStringList>

#include "main_view.h"

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

    void setStatus(const QString& text) override { status = text; }
    void refreshMessage() override {}
    void setMainTitle(const QString& t) override { title = t; }
    void setDdeMessage(const QString&) override {}
    void setChildTitle(ChildWindow, const QString&) override {}
    void setPollingInterval(int ms) override { pollingInterval = ms; }
    void enableStartTimer() override { startTimerEnabled = true; }
    void repaintMain() override {}
    void processEvents() override {}
    void pause(int) override {}
    void showPlainMessage(const QString& text) override { messageBoxes << text; }
    void showWarning(const QString& text) override { messageBoxes << text; }
    void setPlacement(const settings::WindowPlacement& p) override { placementTwips = p; }
    settings::WindowPlacement placement() const override { return placementTwips; }
    settings::DisplayState displayState() const override { return state; }
    void enablePollingTimer(bool enabled) override { pollingEnabled = enabled; }
    void disableStartTimer() override { startTimerEnabled = false; }
};

}  // namespace zel::test
