#include "windows/frm_status.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "settings/widget_placement.h"
#include "windows/status_window_model.h"
#include "windows/tree_widget_steps.h"
#include "settings/window_placement.h"

namespace zel {

frmStatus::frmStatus(AppState& state, settings::SettingsStore& store, MessageSink setMessage,
                     QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state) {
    setObjectName(QStringLiteral("frmStatus"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(TreeView1, 1);
    steps_ = std::make_unique<TreeWidgetSteps>(*TreeView1);
    model_ = std::make_unique<StatusWindowModel>(
        state, store, *steps_, [this](const QString& text) { Label1->setText(text); },
        std::move(setMessage));
}

frmStatus::~frmStatus() = default;

void frmStatus::open() {
    if (!loaded_) {
        const settings::RestoredPlacement restored = model_->load();
        setGeometry(placed_.place(restored.placement, dpi()));
        if (restored.message) showBox(*restored.message);
        loaded_ = true;
    }
    setWindowTitle(QStringLiteral("Step Status") + state_.connection.ConnectionCaption);
    show();
    raise();
}

PollBlock& frmStatus::pollBlock() {
    return *model_;
}

void frmStatus::setStepNameLookup(status::StepNameLookup names) {
    model_->setStepNameLookup(std::move(names));
}

void frmStatus::closeEvent(QCloseEvent* event) {
    if (loaded_) {
        const auto box =
            model_->savePlacement(displayState(), placed_.placementOf(geometry(), dpi()));
        if (box) showBox(*box);
        model_->unloaded();
        loaded_ = false;
    }
    event->accept();
}

double frmStatus::dpi() const {
    return settings::windowDpi(*this);
}

settings::DisplayState frmStatus::displayState() const {
    return settings::displayStateOf(*this);
}

void frmStatus::showBox(const QString& text) {
    QMessageBox::information(this, QApplication::applicationName(), text);
}

}  // namespace zel
