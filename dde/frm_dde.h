// The DDE window ("DDE Configuration"): the data items other programs link to, on two tab
// pages, with the entry boxes and buttons that steer the exchange. Made once, then only shown
// and hidden. Every rule is its model's; the form hands it keys, texts and clicks and draws its
// change notices.
#pragma once

#include <QHash>
#include <QWidget>
#include <memory>

#include "dde/dde_model.h"

class QGridLayout;
class QLineEdit;
class QScrollBar;

namespace zel {

class frmDDE : public QWidget {
    Q_OBJECT
public:
    frmDDE(AppState& state, ZelLibrary& library, std::function<void(const QString&)> setMessage,
           std::function<void(int)> setPollingInterval, QWidget* parent = nullptr);
    ~frmDDE() override;

    // Titled "DDE Screen 1" and the controller's address, shown and raised.
    void open();
    void retitle(const QString& caption);
    DdeModel& model() { return *model_; }
    PollBlock& pollBlock() { return *model_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFlagPage();
    QWidget* buildBlockPage();
    QLineEdit* addBox(const QString& item, QWidget* parent);
    QWidget* addValue(const QString& item, QWidget* parent);
    void addCaptioned(QGridLayout* grid, int row, const char* caption, QWidget* field);
    void draw(const DdeChanges& changes);

    AppState& state_;
    QHash<QString, QWidget*> controls_;  // by item name
    QHash<QObject*, QString> boxes_;     // entry box -> item name
    QScrollBar* HScroll1 = nullptr;
    std::unique_ptr<DdeModel> model_;
};

}  // namespace zel
