// The DDE window ("DDE Configuration"): the data items other programs link to, on two tab
// pages, with the entry boxes and buttons that steer the exchange. Made once, then only shown
// and hidden. Every rule is its model's, which is made first and outlives the form; the form
// hands it keys, texts and clicks and draws its change notices.
#pragma once

#include <QHash>
#include <QWidget>

#include "dde/dde_model.h"

class QGridLayout;
class QLineEdit;
class QScrollBar;

namespace zel {

class frmDDE : public QWidget {
    Q_OBJECT
public:
    // Draws every item of the model as it stands, then its changes.
    frmDDE(DdeModel& model, const AppState& state, QWidget* parent = nullptr);
    ~frmDDE() override;

    // Titled "DDE Screen 1" and the controller's address, shown and raised.
    void open();
    void retitle(const QString& caption);

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

    DdeModel& model_;
    const AppState& state_;
    QHash<QString, QWidget*> controls_;  // by item name
    QHash<QObject*, QString> boxes_;     // entry box -> item name
    QScrollBar* HScroll1 = nullptr;
};

}  // namespace zel
