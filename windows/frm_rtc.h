// The clock window: the controller's clock field by field, the PC's clock, and the button that
// asks the next polling tick to set the controller's clock from the PC's.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "common/app_state.h"
#include "windows/clock_window_model.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zel {

class frmRTC : public QWidget {
    Q_OBJECT
public:
    // `now` is the PC's clock; tests pass a fixed one.
    explicit frmRTC(AppState& state, QWidget* parent = nullptr,
                    ClockWindowModel::Clock now = &QDateTime::currentDateTime);
    ~frmRTC() override;

    // Places the window 1000 twips right of and below `mainTopLeft` (the main window's frame
    // position, in pixels), counts it as open and shows it.
    void open(const QPoint& mainTopLeft);
    // The window's part of the polling tick; lives as long as the window.
    PollBlock& pollBlock();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* addField(const char* name);
    void buildPanel();
    void showClock(const ClockWindowModel::Display& display);

    QLineEdit* txtHr = nullptr;
    QLineEdit* txtMin = nullptr;
    QLineEdit* txtSec = nullptr;
    QLineEdit* txtMo = nullptr;
    QLineEdit* txtDay = nullptr;
    QLineEdit* txtYr = nullptr;
    QLineEdit* txtDow = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QLabel* lblSysClock = nullptr;
    std::unique_ptr<ClockWindowModel> model_;
};

}  // namespace zel
