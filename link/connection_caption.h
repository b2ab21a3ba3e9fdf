// Texts that describe the connection in the status line and in window titles.
#pragma once

#include <QString>
#include <cstdint>

#include "common/connection_settings.h"

namespace zel {

inline constexpr char kMainWindowTitle[] = "ZEL Monitor V3.6";

// "Connected to ..." for a connection of the given kind made with these settings; empty for a
// kind that does not exist.
QString connectedText(const ConnectionSettings& settings, int32_t commType);

// The caption derived from a "Connected to ..." text: " - " and the text after that prefix.
QString captionFromConnectedText(const QString& connectedText);

// The caption the main window starts with, before any connection was made, from the settings
// as they stand (for the network kinds, the host as last resolved).
QString startupConnectionCaption(const ConnectionSettings& settings);

}  // namespace zel
