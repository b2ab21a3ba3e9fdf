// The connection manager's side of the screen, with no window to show anything in: the status
// line is kept for a failure's message, and events still run.
#pragma once

#include <QCoreApplication>
#include <QThread>

#include "link/connection_ui.h"

namespace zel::bench {

class Windowless final : public ConnectionUi {
public:
    QString status;
    void setStatus(const QString& text) override { status = text; }
    void refreshMessage() override {}
    void setMainTitle(const QString&) override {}
    void setDdeMessage(const QString&) override {}
    void connectionCaptionChanged(const QString&) override {}
    void setPollingInterval(int) override {}
    void enableStartTimer() override {}
    void repaintMain() override {}
    void processEvents() override { QCoreApplication::processEvents(); }
    void pause(int milliseconds) override {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
    }
};

}  // namespace zel::bench
