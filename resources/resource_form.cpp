#include "resources/resource_form.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "settings/widget_placement.h"

namespace zel {

ResourceForm::ResourceForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                           SymbolLookup* symbols, MessageSink setMessage, QString baseTitle,
                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      state_(state),
      library_(library),
      store_(store),
      symbols_(symbols),
      setMessage_(std::move(setMessage)),
      baseTitle_(std::move(baseTitle)) {
    messageBox_ = [this](const QString& text) {
        QMessageBox::information(this, QCoreApplication::applicationName(), text);
    };
    setWindowTitle(baseTitle_);
}

ResourceServices ResourceForm::services() {
    return {state_,   library_,    store_,
            symbols_, setMessage_, [this](const QString& text) { messageBox_(text); }};
}

void ResourceForm::retitle(const QString& connectionCaption) {
    setWindowTitle(baseTitle_ + connectionCaption);
}

void ResourceForm::showLoaded(const std::optional<settings::WindowPlacement>& placement) {
    if (placement) setGeometry(placed_.place(*placement, dpi()));
    retitle(state_.connection.ConnectionCaption);
    show();
    raise();
}

double ResourceForm::dpi() const {
    return settings::windowDpi(*this);
}

settings::WindowPlacement ResourceForm::placementTwips() const {
    return placed_.placementOf(geometry(), dpi());
}

settings::DisplayState ResourceForm::displayState() const {
    return settings::displayStateOf(*this);
}

QLabel* ResourceForm::newLabel(const QString& name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    return label;
}

QLineEdit* ResourceForm::newTextBox(const QString& name) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    return box;
}

QString controlName(const char* name, int r) {
    return QString::fromLatin1(name) + u'_' + QString::number(r);
}

void ResourceForm::addRowTrendAction(std::initializer_list<QWidget*> row,
                                     const TrendItemSource& item) {
    for (QWidget* control : row) {
        if (!control) continue;
        addTrendAction(control, item, [this](const TrendItem& chosen) {
            if (trendSink_) trendSink_(chosen);
        });
    }
}

}  // namespace zel
