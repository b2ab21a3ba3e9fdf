// What closing the setup dialog decides from the settings: whether the connection must be made
// again, and the caption that describes it in window titles.
#pragma once

#include <QString>
#include <cstdint>

#include "common/connection_settings.h"

namespace zel {

// The settings as the dialog found them when it opened.
struct SavedConnection {
    int32_t CommType = 0;
    int32_t BaudRate = 0;
    int32_t CommTimeout = 0;
    int32_t TargetNode = 0;
    int32_t HostNode = 0;
    QString ControllerIP;

    static SavedConnection of(const ConnectionSettings& settings);
};

// True when a setting the open connection depends on differs; the timeout alone never counts.
bool connectionMustBeRemade(const SavedConnection& before, const ConnectionSettings& now);

// " - Node 3", " - UDP 10.0.0.7", " - TCP/IP 10.0.0.7" or " - COMM 1 Baud 19200".
QString setupConnectionCaption(const ConnectionSettings& settings);

}  // namespace zel
