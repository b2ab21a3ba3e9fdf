// The one process-wide state of the monitor. The application owns a single instance and hands
// it by reference to every part that needs it; tests make a fresh one each.
#pragma once

#include <QString>
#include <cstdint>

#include "common/connection_settings.h"
#include "common/connection_state.h"
#include "common/lib_error_record.h"
#include "common/monitoring_flags.h"

namespace zel {

inline constexpr int32_t kRegisterLimit = 40000;  // highest register number

// The DDE Setup section; UpdateInterval is also the polling interval in milliseconds.
struct DdeSetup {
    int32_t DdeBlock50 = 0;
    int32_t DdeFlagAddress = 0;
    int32_t DdeRegAddress = 0;
    int32_t UpdateInterval = 0;

    bool operator==(const DdeSetup&) const = default;
};

// The Files section.
struct FileSettings {
    QString CustomScreen1File;
    QString CustomScreen2File;
    QString DataTableFile;
    QString SymbolFileName;

    bool operator==(const FileSettings&) const = default;
};

struct AppState {
    ConnectionSettings settings;
    ConnectionState connection;
    MonitoringFlags flags;
    DdeSetup dde;
    FileSettings files;
    LibErrorRecord LibError;
    int32_t RegisterLimit = kRegisterLimit;
    bool Support7400 = false;
    // The code that unlocks the 7400 entry of the firmware update; empty for the built-in one.
    QString SupportCode;
};

}  // namespace zel
