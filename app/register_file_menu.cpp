#include "app/register_file_menu.h"

#include <QApplication>
#include <QFileDialog>

#include "app/main_view.h"
#include "app/main_window_model.h"

namespace zel {

namespace {

const QStringList kFilters = {QStringLiteral("Text Files(*.TXT)"),
                              QStringLiteral("All Files(*.*)")};

// The dialog as both entries configure it; empty optional when cancelled.
std::optional<QString> chooseTextFile(QWidget* parent, bool save) {
    QFileDialog box(parent);
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setDefaultSuffix(QStringLiteral("TXT"));
    box.setNameFilters(kFilters);
    box.selectNameFilter(kFilters.first());
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.selectedFiles().value(0);
}

}  // namespace

RegisterFileMenu::RegisterFileMenu(MainWindowModel& model, MainView& view, QWidget* parent)
    : model_(model),
      view_(view),
      parent_(parent),
      transfer_(model.state(), model.library(), *this, [] { QApplication::processEvents(); }) {}

QString RegisterFileMenu::chooseSaveFile() {
    return chooseTextFile(parent_, true).value_or(QString());
}

std::optional<QString> RegisterFileMenu::chooseOpenFile() {
    const std::optional<QString> name = chooseTextFile(parent_, false);
    view_.repaintMain();
    return name;
}

bool RegisterFileMenu::confirm(const QString& question) {
    return view_.askYesNo(question);
}

void RegisterFileMenu::setMessage(const QString& text) {
    model_.setMessage(text);
}

void RegisterFileMenu::setBusy(bool busy) {
    view_.setBusy(busy);
}

}  // namespace zel
