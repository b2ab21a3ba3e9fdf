#include "symbols/symbol_file_dialog.h"

#include <QFileDialog>
#include <QGuiApplication>

namespace zel::symbols {

SymbolFileChooser openDialogChooser(QWidget* parent) {
    return [parent](const SymbolFileDialogOptions& options) {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(options.defaultSuffix);
        dialog.setNameFilters(options.filters);
        dialog.selectNameFilter(options.filters.value(options.selectedFilter));
        if (!options.directory.isEmpty()) dialog.setDirectory(options.directory);
        if (dialog.exec() != QDialog::Accepted) return QString();
        return dialog.selectedFiles().value(0);
    };
}

void setBusyPointer(bool on) {
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

}  // namespace zel::symbols
