// Flags that steer the polling cycle and tell which child windows are open.
#pragma once

namespace zel {

struct WindowOpenFlags {
    bool RegFormOpen = false;
    bool RamFormOpen = false;
    bool FlagFormOpen = false;
    bool DigInFormOpen = false;
    bool DigOutFormOpen = false;
    bool AnalInFormOpen = false;
    bool AnalOutFormOpen = false;
    bool RegbitsFormOpen = false;
    bool ServoFormOpen = false;
    bool Custom1FormOpen = false;
    bool Custom2FormOpen = false;
    bool StatusFormOpen = false;
    bool RtcFormOpen = false;
};

struct MonitoringFlags {
    bool NoCommunication = true;  // no working link until an attempt succeeds
    bool CommErrorFlag = true;
    bool CommSettingsChanged = true;
    bool ReconnectPending = false;
    bool StartPollingPending = false;
    bool SetupOpen = false;
    bool UserSuspended = false;  // the user pressed "Suspend Monitoring"
    bool TableUploadBusy = false;
    bool DownloadBusy = false;
    bool DdeActive = false;
    WindowOpenFlags windows;
};

}  // namespace zel
