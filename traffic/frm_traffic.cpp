#include "traffic/frm_traffic.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "settings/placement_store.h"
#include "settings/widget_placement.h"

namespace zel {
namespace {

const QString kTitle = QStringLiteral("Traffic");
constexpr int kRefreshMs = 500;

}  // namespace

frmTraffic::frmTraffic(RecordingZelLibrary& library, settings::SettingsStore& store,
                       std::function<void(const QString&)> message, QWidget* parent)
    : QWidget(parent, Qt::Window), store_(store), message_(std::move(message)), model_(library) {
    setObjectName(QStringLiteral("frmTraffic"));
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);

    auto* filters = new QHBoxLayout;
    call_ = new QComboBox(this);
    call_->setObjectName(QStringLiteral("CallFilter"));
    call_->addItem(QStringLiteral("All calls"));
    for (int c = 0; c < kZelCallCount; ++c)
        call_->addItem(QLatin1String(callName(static_cast<ZelCall>(c))), c);
    range_ = new QLineEdit(this);
    range_->setObjectName(QStringLiteral("RangeFilter"));
    range_->setPlaceholderText(QStringLiteral("registers, e.g. 100-120"));
    failures_ = new QCheckBox(QStringLiteral("&Failures only"), this);
    failures_->setObjectName(QStringLiteral("FailuresOnly"));
    filters->addWidget(new QLabel(QStringLiteral("Call:"), this));
    filters->addWidget(call_);
    filters->addWidget(new QLabel(QStringLiteral("Registers:"), this));
    filters->addWidget(range_);
    filters->addWidget(failures_);
    filters->addStretch();
    layout->addLayout(filters);

    auto* table = new QTableView(this);
    table->setObjectName(QStringLiteral("Calls"));
    table->setModel(&model_);
    table->verticalHeader()->hide();
    // Tab leaves the list, which would otherwise keep it; the arrow keys move in it.
    table->setTabKeyNavigation(false);
    table->horizontalHeader()->setStretchLastSection(true);
    // Wide enough for the library's longest error text on one line.
    table->setColumnWidth(TrafficModel::Error, 260);
    layout->addWidget(table);

    auto* buttons = new QHBoxLayout;
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("CallCount"));
    buttons->addWidget(count_);
    buttons->addStretch();
    auto addButton = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    connect(addButton(QStringLiteral("&Save..."), "SaveButton"), &QPushButton::clicked, this,
            &frmTraffic::saveList);
    connect(addButton(QStringLiteral("C&lear"), "ClearButton"), &QPushButton::clicked, this,
            [this] {
                model_.clear();
                refresh();
            });
    connect(addButton(QStringLiteral("C&lose"), "CloseButton"), &QPushButton::clicked, this,
            &QWidget::close);
    layout->addLayout(buttons);

    connect(call_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const QVariant call = call_->itemData(index);
        model_.setCall(call.isValid() ? std::optional(static_cast<ZelCall>(call.toInt()))
                                      : std::nullopt);
        refresh();
    });
    connect(range_, &QLineEdit::editingFinished, this, &frmTraffic::applyRange);
    connect(failures_, &QCheckBox::toggled, this, [this](bool only) {
        model_.setFailuresOnly(only);
        refresh();
    });
    timer_ = new QTimer(this);
    timer_->setInterval(kRefreshMs);
    connect(timer_, &QTimer::timeout, this, &frmTraffic::refresh);
}

void frmTraffic::open() {
    if (!loaded_) {
        const settings::RestoredPlacement restored =
            settings::restorePlacement(store_, settings::PlacementSection::Traffic);
        setGeometry(placed_.place(restored.placement, dpi()));
        if (restored.message) showBox(*restored.message);
        loaded_ = true;
    }
    model_.open();
    timer_->start();
    refresh();
    show();
    raise();
    activateWindow();
}

void frmTraffic::retitle(const QString& caption) {
    setWindowTitle(kTitle + caption);
}

void frmTraffic::showRegisters(int32_t low, int32_t high) {
    model_.setRange(low, high);
    range_->setText(model_.rangeText());
    open();
}

void frmTraffic::refresh() {
    model_.refresh();
    count_->setText(QStringLiteral("%1 shown, %2 recorded")
                        .arg(model_.shownCount())
                        .arg(model_.recordedCount()));
}

void frmTraffic::applyRange() {
    if (!model_.setRangeText(range_->text())) {
        message_(QStringLiteral("Enter a register number or a range such as 100-120."));
        range_->setText(model_.rangeText());
        return;
    }
    refresh();
}

void frmTraffic::saveList() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Traffic"), {},
                                                      QStringLiteral("Text files (*.txt)"));
    if (path.isEmpty()) return;
    if (const std::optional<QString> error = model_.save(path))
        QMessageBox::warning(this, kTitle, *error);
}

void frmTraffic::closeEvent(QCloseEvent* event) {
    timer_->stop();
    model_.close();
    if (loaded_) {
        const auto box =
            settings::savePlacement(store_, settings::PlacementSection::Traffic, displayState(),
                                    placed_.placementOf(geometry(), dpi()));
        if (box) showBox(*box);
        loaded_ = false;
    }
    event->accept();
}

double frmTraffic::dpi() const {
    return settings::windowDpi(*this);
}

settings::DisplayState frmTraffic::displayState() const {
    return settings::displayStateOf(*this);
}

void frmTraffic::showBox(const QString& text) {
    QMessageBox::information(this, QApplication::applicationName(), text);
}

}  // namespace zel
