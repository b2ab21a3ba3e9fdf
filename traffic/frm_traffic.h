// The Traffic window: every library call while it is open, filtered by call, by a register
// range and by failure, with the list saved as text. The rules are the model's.
#pragma once

#include <QWidget>
#include <functional>

#include "settings/settings_store.h"
#include "settings/window_placement.h"
#include "traffic/traffic_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace zel {

class frmTraffic : public QWidget {
    Q_OBJECT
public:
    frmTraffic(RecordingZelLibrary& library, settings::SettingsStore& store,
               std::function<void(const QString&)> message, QWidget* parent = nullptr);

    // The first open after a close restores the placement the window was closed at.
    void open();
    void retitle(const QString& caption);
    // Opens the window showing only the calls that touch registers low..high.
    void showRegisters(int32_t low, int32_t high);

    TrafficModel& model() { return model_; }
    // Shows the recorded calls afresh; a timer does it while the window is open.
    void refresh();

private:
    void applyRange();
    void saveList();
    void closeEvent(QCloseEvent* event) override;
    double dpi() const;
    settings::DisplayState displayState() const;
    void showBox(const QString& text);

    settings::SettingsStore& store_;
    std::function<void(const QString&)> message_;
    TrafficModel model_;
    QComboBox* call_ = nullptr;
    QLineEdit* range_ = nullptr;
    QCheckBox* failures_ = nullptr;
    QLabel* count_ = nullptr;
    QTimer* timer_ = nullptr;
    bool loaded_ = false;
    settings::PlacedWindow placed_;
};

}  // namespace zel
