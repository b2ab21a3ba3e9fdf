#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "symbols/frm_symbol.h"
#include "symbols/import_progress.h"
#include "symbols/symbol_file_dialog.h"
#include "symbol_test_support.h"

using namespace zel::symbols;

namespace {

TEST(FrmSymbol, ShowsTheModelsProgressWhileTheImportRuns) {
    qint64 now = 0;
    ImportProgress progress({}, [&now] { return now; });
    frmSymbol form(progress);
    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("VSElastic1"));
    auto* label = form.findChild<QLabel*>(QStringLiteral("lblProgress"));
    ASSERT_TRUE(bar && label);

    progress.begin();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(label->text(), QStringLiteral(" 0% of symbol file processed ... please wait."));
    now += ImportProgress::kRepaintIntervalMs;
    progress.setPercent(42);
    EXPECT_EQ(bar->value(), 42);
    EXPECT_EQ(label->text(), QStringLiteral(" 42% of symbol file processed ... please wait."));
    progress.setPercent(43);
    EXPECT_EQ(bar->value(), 42) << "too soon to repaint";

    EXPECT_FALSE(form.close()) << "no closing in the middle of an import";
    progress.end();
    EXPECT_EQ(bar->value(), 43) << "the last value is always shown";
    EXPECT_FALSE(form.isVisible());
}

TEST(OpenDialogChooser, AsksWithTheGivenFiltersAndReturnsTheChoice) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plant.SYM");
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    SymbolFileDialogOptions options = SymbolService::dialogOptions(path);
    QStringList seenFilters;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seenFilters = dialog->nameFilters();
        EXPECT_EQ(dialog->selectedNameFilter(), options.filters[0]);
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("SYM"));
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(openDialogChooser(nullptr)(options), path);
    EXPECT_EQ(seenFilters, options.filters);

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(openDialogChooser(nullptr)(options), QString());
}

}  // namespace
