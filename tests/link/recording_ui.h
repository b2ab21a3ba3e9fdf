// A connection UI that writes down what it was asked to show, in order.
#pragma once

#include <QStringList>

#include "link/connection_ui.h"

namespace zel {

class RecordingUi : public ConnectionUi {
public:
    QStringList log;
    QString status;
    QString mainTitle;
    QStringList captions;  // each caption change

    void setStatus(const QString& text) override {
        status = text;
        log << "status: " + text;
    }
    void refreshMessage() override { log << "refresh"; }
    void setMainTitle(const QString& title) override {
        mainTitle = title;
        log << "title: " + title;
    }
    void setDdeMessage(const QString& text) override { log << "dde: " + text; }
    void connectionCaptionChanged(const QString& caption) override { captions << caption; }
    void setPollingInterval(int ms) override { log << "interval " + QString::number(ms); }
    void enableStartTimer() override { log << "timer3"; }
    void repaintMain() override { log << "repaint"; }
    void processEvents() override { log << "events"; }
    void pause(int ms) override { log << "pause " + QString::number(ms); }
};

}  // namespace zel
