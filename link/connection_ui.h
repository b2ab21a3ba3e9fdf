// Everything the connection manager does to the user interface, so it runs without a display.
#pragma once

#include <QString>

namespace zel {

class ConnectionUi {
public:
    virtual ~ConnectionUi() = default;

    // The main window's status line; refreshMessage repaints it at once.
    virtual void setStatus(const QString& text) = 0;
    virtual void refreshMessage() = 0;
    virtual void setMainTitle(const QString& title) = 0;
    // The DDE window's status label, repainted at once.
    virtual void setDdeMessage(const QString& text) = 0;
    // The connection caption changed; every child window's title ends with it.
    virtual void connectionCaptionChanged(const QString& caption) = 0;
    // Timer1's interval, and enabling Timer3, which starts Timer1 on its next tick.
    virtual void setPollingInterval(int milliseconds) = 0;
    virtual void enableStartTimer() = 0;
    virtual void repaintMain() = 0;
    // Lets pending window events run; clicks and timer ticks may happen in here.
    virtual void processEvents() = 0;
    // A plain wait without event processing.
    virtual void pause(int milliseconds) = 0;
};

}  // namespace zel
