// A setup model over the scripted library and a host that writes down what the dialog asked of
// the main window, with settings as a user connected over TCP/IP would have them.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>

#include "link/fake/fake_zel_library.h"
#include "setup/setup_model.h"

namespace zel::test {

class RecordingHost : public SetupHost {
public:
    QStringList log;
    QStringList boxes;

    void setMessage(const QString& text) override { log << "message: " + text; }
    void setMainTitle(const QString& title) override { log << "title: " + title; }
    void stopPollingTimer() override { log << "stop timer1"; }
    void startPollingTimer(int ms) override { log << "start timer1 " + QString::number(ms); }
    void enableReconnectTimer() override { log << "timer2"; }
    void setDdeNode(const QString& text) override { log << "dde node " + text; }
    void showMessageBox(const QString& text) override { boxes << text; }

    // What the dialog asked for, whatever the order it asked in.
    QStringList asked() const {
        QStringList sorted = log;
        sorted.sort();
        return sorted;
    }
};

inline QStringList sorted(QStringList texts) {
    texts.sort();
    return texts;
}

class SetupTest : public ::testing::Test {
protected:
    AppState state;
    FakeZelLibrary lib;
    RecordingHost host;
    SetupModel model{state, lib, host};
    ConnectionFrame& frame = model.connection();

    void SetUp() override {
        ConnectionSettings& s = state.settings;
        s.CommType = kCommTcp;
        s.BaudRate = 9600;
        s.HostNode = 100;
        s.TargetNode = 3;
        s.AdapterIndex = 2;
        s.ControllerHost = s.ControllerIP = "10.0.0.7";
        s.HostIsIP = true;
        s.CommTimeout = 300;
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.Connected = true;
        state.flags.NoCommunication = false;
        state.flags.SetupOpen = true;
    }
    // Keys as the form hands them over: the model sees each first, unconsumed ones are typed.
    void type(SetupField field, const QString& keys) {
        for (QChar key : keys)
            if (!frame.keyPress(field, key.unicode()))
                frame.setText(field, frame.text(field) + key);
    }
    bool logged(const QString& entry) const { return host.log.contains(entry); }
};

}  // namespace zel::test
