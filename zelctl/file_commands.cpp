#include <QFile>

#include "link/lib_error.h"
#include "transfer/register_compare.h"
#include "transfer/register_file.h"
#include "transfer/named_file_view.h"
#include "transfer/register_transfer.h"
#include "zelctl/commands.h"
#include "zelctl/exit_status.h"
#include "zelctl/output.h"

namespace zel::ctl {
namespace {

const QString kReadCompleted = QStringLiteral("Register read completed.");
const QString kWriteCompleted = QStringLiteral("Register file write completed.");

// After a transfer that did not complete: the library's failure when a call failed last,
// else the file was at fault.
int transferFailed(Session& session, const QString& what, const QString& path) {
    fetchLibError(session.library(), session.state());
    if (session.state().LibError.code != 0) return session.reportError(what);
    printError(what + QStringLiteral(": cannot use ") + path);
    return kBadUsage;
}

// The general register lines at the start of a file already checked line by line, at most
// as many as a download reads.
int generalRegisterLines(const QByteArray& bytes) {
    RegisterFileReader reader(bytes);
    reader.skipHeader();
    int lines = 0;
    while (lines < kGeneralRegisters && !reader.atEnd() && reader.readInteger()) ++lines;
    return lines;
}

}  // namespace

int backupRegisters(Command& c) {
    if (const int status = c.session.open(c.arguments)) return status;
    const QString& path = c.arguments.operands[0];
    NamedFileView view(path);
    RegisterTransfer transfer(c.session.state(), c.session.library(), view, {});
    transfer.upload();
    if (view.message == kReadCompleted) return kSuccess;
    return transferFailed(c.session, view.message, path);
}

// The whole file is read and checked before the first register is written.
int restoreRegisters(Command& c) {
    if (const int status = c.session.open(c.arguments)) return status;
    const QString& path = c.arguments.operands[0];
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("Cannot read ") + path + QStringLiteral(": ") + file.errorString());
        return kBadUsage;
    }
    const QByteArray bytes = file.readAll();
    RegisterFileReader reader(bytes);
    const int32_t model = c.session.state().connection.ModelCode;
    if (!readRegisterEntries(reader, [model](int32_t n) { return isVRegisterOf(model, n); })) {
        printError(path + QStringLiteral(" is not a register value file. ") + reader.error() +
                   QStringLiteral(" Nothing was written."));
        return kBadUsage;
    }
    // The download would write the lines there are and stop at the first missing one.
    if (const int lines = generalRegisterLines(bytes); lines < kGeneralRegisters) {
        printError(path + QStringLiteral(" is too short: it holds %1 of the %2 general registers "
                                         "a register value file starts with. Nothing was written.")
                              .arg(lines)
                              .arg(kGeneralRegisters));
        return kBadUsage;
    }
    NamedFileView view(path);
    RegisterTransfer transfer(c.session.state(), c.session.library(), view, {});
    transfer.download();
    if (view.message == kWriteCompleted) return kSuccess;
    return transferFailed(c.session, view.message, path);
}

int diffRegisters(Command& c) {
    if (const int status = c.session.open(c.arguments)) return status;
    const QString& path = c.arguments.operands[0];
    NamedFileView view(path);
    RegisterCompare compare(c.session.state(), c.session.library(), nullptr, view, {});
    if (!compare.compare(path)) {
        printError(view.message);
        return kBadUsage;
    }
    QStringList headers{QStringLiteral("Register")};
    if (c.names.hasNames()) headers << QStringLiteral("Symbol");
    headers << QStringLiteral("In file") << QStringLiteral("Now");
    Output out(c.arguments.form, headers, {true, !c.names.hasNames(), true, true});
    for (int row = 0; row < compare.rowCount(); ++row) {
        const auto text = [&](int column) {
            return compare.data(compare.index(row, column), Qt::DisplayRole).toString();
        };
        QStringList cells{text(RegisterCompare::RegisterColumn)};
        if (c.names.hasNames())
            cells << c.names.name({Resource::Register, compare.differences()[row].number});
        cells << text(RegisterCompare::FileColumn) << text(RegisterCompare::NowColumn);
        out.add(cells);
    }
    out.finish();
    return kSuccess;
}

}  // namespace zel::ctl
