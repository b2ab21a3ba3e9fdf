// The Traffic window: every library call while it is open, filtered by call, by a register
// range and by failure, with the list saved as text. The rules are the model's.
#pragma once

#include <QWidget>
#include <functional>

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
    frmTraffic(RecordingZelLibrary& library, std::function<void(const QString&)> message,
               QWidget* parent = nullptr);

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

    std::function<void(const QString&)> message_;
    TrafficModel model_;
    QComboBox* call_ = nullptr;
    QLineEdit* range_ = nullptr;
    QCheckBox* failures_ = nullptr;
    QLabel* count_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace zel
