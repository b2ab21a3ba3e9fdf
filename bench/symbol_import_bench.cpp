// The import of a 100,000-line symbol file, progress model included, as a ratio to the
// sqlite3 shell's .import of the same rows (as CSV) into the same table and index, measured in
// the same run, round by round. The shell's share is its run with the .import less its run
// without. Both are timed in processor time (user and system): each is one busy thread writing
// to the page cache, so on an idle machine that is the time it takes, and on a shared machine
// it leaves out the time spent waiting for a processor, which the wall clock would count.
//
//   zelbench_symbols [rounds]     (five at least, seven by default)
//
// Goal: the median of the rounds' ratios at most 1.25.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
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

double processorMs(const rusage& u) {
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double threadProcessorMs() {
    rusage u{};
    ::getrusage(RUSAGE_THREAD, &u);
    return processorMs(u);
}

// Milliseconds of processor time the import took, database creation excluded.
double ourImport(const QString& symPath, const QString& base, qint64& rows) {
    const FileSettings files{{}, {}, {}, symPath};
    SymbolDatabase db(files, base);
    ImportProgress progress([] {});
    if (!db.CreateSymbolDatabase()) std::exit(1);
    const double start = threadProcessorMs();
    const ImportResult result = importSymbolFile(symPath, db, progress);
    const double ms = threadProcessorMs() - start;
    if (!result.ok) std::fprintf(stderr, "import failed: %s\n", qPrintable(result.error));
    rows = result.stored;
    return ms;
}

// Milliseconds of processor time the sqlite3 shell took to run the script.
double shellRun(const QString& scriptPath, const QString& dbPath) {
    QFile::remove(dbPath);
    const QByteArray script = QFile::encodeName(scriptPath), db = QFile::encodeName(dbPath);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, script.constData(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    char name[] = "sqlite3";
    char* args[] = {name, const_cast<char*>(db.constData()), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, name, &files, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "sqlite3 failed on %s\n", script.constData());
        std::exit(1);
    }
    return processorMs(usage);
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
    std::printf("processor time:\n");
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
