// The import of a 100,000-line symbol file, progress model included, as a ratio to the
// sqlite3 shell's .import of the same rows (as CSV) into the same table and index, measured in
// the same run, round by round. The shell's share is its run with the .import less its run
// without.
//
//   zelbench_symbols [rounds]     (five at least, seven by default)
//
// Goal: the median of the rounds' ratios at most 1.25.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "stats.h"
#include "symbols/import_progress.h"
#include "symbols/symbol_database.h"
#include "symbols/symbol_import.h"

using namespace zel;
using namespace zel::symbols;

namespace {

constexpr int kLines = 100000;
constexpr double kGoal = 1.25;

// Every kind of resource, numbers in file order as a compiler lists them, names of varied
// length; each code, number and value once, so both imports store every row.
void writeFiles(const QString& symPath, const QString& csvPath) {
    static constexpr int kCodes[] = {2, 4, 8, 64, 128, 1024, 2048, 8192, 131072};
    QByteArray sym;
    QByteArray csv;
    for (int i = 0; i < kLines; ++i) {
        const int code = kCodes[i % 9];
        const int number = i / 18 + 1;
        const int value = (i / 9) % 2;
        const QByteArray name = "Station" + QByteArray::number(i % 7) + "_Axis_" +
                                QByteArray::number(number) + QByteArray(i % 13, 'x');
        const QByteArray fields[] = {QByteArray::number(code), QByteArray::number(number),
                                     QByteArray::number(value), name};
        sym += fields[0] + ' ' + fields[1] + '\t' + fields[2] + ' ' + fields[3] + '\n';
        csv += fields[0] + ',' + fields[1] + ',' + fields[2] + ',' + fields[3] + '\n';
    }
    QFile s(symPath), c(csvPath);
    if (!s.open(QIODevice::WriteOnly) || !c.open(QIODevice::WriteOnly) || s.write(sym) < 0 ||
        c.write(csv) < 0) {
        std::fprintf(stderr, "cannot write the test files\n");
        std::exit(1);
    }
}

// Milliseconds the import took, database creation excluded.
double ourImport(const QString& symPath, const QString& base, qint64& rows) {
    const FileSettings files{{}, {}, {}, symPath};
    SymbolDatabase db(files, base);
    ImportProgress progress([] {});
    if (!db.CreateSymbolDatabase()) std::exit(1);
    QElapsedTimer timer;
    timer.start();
    const ImportResult result = importSymbolFile(symPath, db, progress);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!result.ok) std::fprintf(stderr, "import failed: %s\n", qPrintable(result.error));
    rows = result.stored;
    return ms;
}

double shellRun(const QString& scriptPath, const QString& dbPath) {
    QFile::remove(dbPath);
    QProcess shell;
    shell.setStandardInputFile(scriptPath);
    shell.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {dbPath});
    if (!shell.waitForFinished(60000) || shell.exitCode() != 0) {
        std::fprintf(stderr, "sqlite3 failed: %s\n", shell.readAllStandardError().constData());
        std::exit(1);
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void writeScript(const QString& path, const QString& csvPath, bool withImport) {
    QByteArray script = "PRAGMA journal_mode = MEMORY;\nPRAGMA synchronous = OFF;\n";
    script += SymbolDatabase::schemaSql();
    script += "\n.mode csv\n";
    if (withImport) script += ".import " + csvPath.toUtf8() + " Symbols\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script) < 0) std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    const QString sym = dir.filePath("bench.SYM"), csv = dir.filePath("bench.csv");
    const QString withImport = dir.filePath("import.sql"), without = dir.filePath("empty.sql");
    writeFiles(sym, csv);
    writeScript(withImport, csv, true);
    writeScript(without, csv, false);

    struct Shell {
        double full = 0;
        double empty = 0;
    };
    qint64 rows = 0;
    const auto measured = bench::inRounds(
        rounds,
        [&] {
            return Shell{shellRun(withImport, dir.filePath("shell.db")),
                         shellRun(without, dir.filePath("shell.db"))};
        },
        [&] { return ourImport(sym, dir.path(), rows); });
    using R = decltype(measured)::value_type;
    const auto ours = bench::spreadOver(measured, [](const R& r) { return r.work; });
    const auto shell =
        bench::spreadOver(measured, [](const R& r) { return r.floor.full - r.floor.empty; });
    const auto empty = bench::spreadOver(measured, [](const R& r) { return r.floor.empty; });
    std::printf("symbol import, %d lines, %lld rows stored\n", kLines,
                static_cast<long long>(rows));
    std::printf("  ours            median %8.1f ms (%.1f-%.1f)\n", ours.median, ours.min, ours.max);
    std::printf(
        "  sqlite3 .import median %8.1f ms (%.1f-%.1f), its start-up of %.1f ms taken off\n",
        shell.median, shell.min, shell.max, empty.median);
    std::printf("  ");
    bench::printRatio(
        bench::spreadOver(measured,
                          [](const R& r) { return r.work / (r.floor.full - r.floor.empty); }),
        measured.size(), kGoal);
    return 0;
}
