#include "datatable/table_transfer.h"

#include <QVector>
#include <algorithm>
#include <limits>

#include "link/lib_error.h"
#include "link/link_claim.h"

namespace zel {
namespace {

QString cancelledText(const char* transfer, int32_t row) {
    return QStringLiteral("%1 cancelled at row %2.").arg(QLatin1String(transfer)).arg(row);
}

}  // namespace

// Marks a transfer as running for its whole length and claims the link for it, so nothing else
// talks to the controller meanwhile; both end however the transfer ends. While another
// transfer holds the link a user's command is refused with the reason; the monitoring timer
// (`quiet`) just waits for its next tick.
class TableTransfer::Scope {
public:
    Scope(TableTransfer& transfer, LinkUse use, bool quiet)
        : t_(transfer), claim_(transfer.state_, use) {
        if (!claim_) {
            if (!quiet) t_.view_.setMessage(kLinkClaimedMessage);
            return;
        }
        t_.running_ = true;
        t_.cancelRequested_ = false;
        t_.view_.setBusy(true);
    }
    ~Scope() {
        if (!claim_) return;
        t_.running_ = false;
        t_.view_.setBusy(false);
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    bool held() const { return claim_.held(); }

private:
    TableTransfer& t_;
    LinkClaim claim_;
};

TableTransfer::TableTransfer(AppState& state, ZelLibrary& library, DataTable& table,
                             TableTransferView& view, EventPump pump)
    : state_(state), library_(library), table_(table), view_(view), pump_(std::move(pump)) {}

void TableTransfer::requestCancel() {
    if (running_) cancelRequested_ = true;
}

bool TableTransfer::readDimensions(int32_t& rows, int32_t& columns) {
    if (library_.ZlGetDataTableDim(state_.connection.CommHandle, rows, columns) == 1) return true;
    view_.messageBox(QStringLiteral("Failed to get data table dimensions."));
    return false;
}

bool TableTransfer::continueAt(const QString& progress, int32_t row, int32_t rows,
                               int32_t columns) {
    view_.showProgress(progress + QStringLiteral(" ... row %1 of %2").arg(row).arg(rows));
    if (pump_) pump_();
    // A table reshaped meanwhile no longer matches the rows being moved.
    return !cancelRequested_ && table_.TableRows == rows && table_.columns() == columns;
}

void TableTransfer::upload() {
    if (state_.flags.NoCommunication || running_) return;
    const Scope scope(*this, LinkUse::TableUpload, table_.TableMonitoring);
    if (!scope.held()) return;
    int32_t first = table_.TableMonStartRow, last = table_.TableMonEndRow;
    if (!table_.TableMonitoring) {
        int32_t rows = 0, columns = 0;
        if (!readDimensions(rows, columns)) return;
        if (rows <= 0 || columns <= 0) {
            view_.messageBox(QStringLiteral("There is NO data table to load."));
            return;
        }
        if (columns > kMaxTableColumns) {
            view_.messageBox(QStringLiteral("The controller's data table has more than %1 "
                                            "columns; it cannot be loaded.")
                                 .arg(kMaxTableColumns));
            return;
        }
        table_.resize(rows, columns);
        first = 1;
        last = rows;
        table_.TableMonStartRow = 1;
        table_.TableMonEndRow =
            static_cast<int16_t>(std::min<int32_t>(rows, std::numeric_limits<int16_t>::max()));
    }
    const int32_t rows = table_.TableRows, columns = table_.columns();
    view_.rebuildGrid();
    view_.setMessage(QStringLiteral("Uploading data table ... Please stand by."));
    for (int32_t r = std::max(first, 1); r <= std::min(last, rows); ++r) {
        if (!continueAt(QStringLiteral("Uploading data table"), r, rows, columns)) {
            view_.setMessage(cancelledText("Upload", r));
            return;
        }
        if (!uploadRow(r, columns)) return;
    }
    view_.setMessage(QStringLiteral("Upload complete."));
    view_.showSize(rows, columns);
}

bool TableTransfer::uploadRow(int32_t row, int32_t columns) {
    QVector<int32_t> values;
    if (library_.ZlGetDataTableRow(state_.connection.CommHandle, row, 1, columns, values) != 1) {
        fetchLibError(library_, state_);
        // Cancelled while the row was on its way, as on a link that stopped answering: the user
        // has given the transfer up, so it ends as cancelled rather than as failed.
        if (cancelRequested_)
            view_.setMessage(cancelledText("Upload", row));
        else
            view_.setMessage(failureText(
                QStringLiteral("Failed to get data table row %1.").arg(row), state_.LibError));
        return false;
    }
    for (int32_t k = 1; k <= columns; ++k) table_.setValue(row, k, values.value(k - 1));
    return true;
}

void TableTransfer::download() {
    if (state_.flags.NoCommunication || running_) return;
    const Scope scope(*this, LinkUse::Transfer, false);
    if (!scope.held()) return;
    const int32_t rows = table_.TableRows, columns = table_.columns();
    int32_t controllerRows = 0, controllerColumns = 0;
    if (!readDimensions(controllerRows, controllerColumns)) return;
    if (controllerRows != rows || controllerColumns != columns) {
        view_.messageBox(QStringLiteral("Cannot change data table dimensions."));
        return;
    }
    view_.setMessage(QStringLiteral("Downloading data table ... Please stand by."));
    for (int32_t r = 1; r <= rows; ++r) {
        if (!continueAt(QStringLiteral("Downloading data table"), r, rows, columns)) {
            view_.setMessage(cancelledText("Download", r));
            return;
        }
        if (!downloadRow(r, columns)) return;
    }
    view_.setMessage(QStringLiteral("Download complete."));
}

bool TableTransfer::downloadRow(int32_t row, int32_t columns) {
    // 32768..65535 go out as the same 16 bits, which the controller's signed word reads as
    // negative.
    QVector<int16_t> values(columns);
    for (int32_t k = 1; k <= columns; ++k)
        values[k - 1] = static_cast<int16_t>(static_cast<uint16_t>(table_.value(row, k)));
    if (library_.ZlPutDataTableRow(state_.connection.CommHandle, row, 1, columns, values) == 1)
        return true;
    fetchLibError(library_, state_);
    if (cancelRequested_) {
        view_.setMessage(cancelledText("Download", row));
        return false;
    }
    view_.setMessage(failureText(QStringLiteral("Failed to set data table row %1.").arg(row),
                                 state_.LibError));
    view_.messageBox(QStringLiteral("Failed to set data table row."));
    return false;
}

}  // namespace zel
