// Compare with Controller: the registers of a register value file read again from the
// controller, listed where the two differ, with the file's value written back into the ticked
// ones after one confirmation. The list is a sortable table model with a tick in its first
// column; the reading lets events run through the pump and keeps the polling tick off the link.
#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

#include "common/app_state.h"
#include "common/event_pump.h"
#include "common/symbol_lookup.h"
#include "link/zel_library.h"
#include "transfer/register_file.h"

namespace zel {

// What the comparison asks and shows; its window implements it.
class RegisterCompareView {
public:
    virtual ~RegisterCompareView() = default;
    // The main window's status line.
    virtual void setMessage(const QString& text) = 0;
    // While the controller is read: the share done so far, 0 to 100.
    virtual void setProgress(int percent) = 0;
    // The window's buttons are held off while a comparison or a write runs.
    virtual void setBusy(bool busy) = 0;
    // A Yes/No question; true for Yes.
    virtual bool confirm(const QString& question) = 0;
};

struct RegisterDifference {
    int32_t number = 0;
    QString name;
    bool vRegister = false;  // a double-precision register, read and written as one
    double fileValue = 0.0;
    std::optional<double> nowValue;  // empty when the controller did not answer
    bool ticked = false;
};

class RegisterCompare : public QAbstractTableModel {
public:
    enum Column { RegisterColumn, SymbolColumn, FileColumn, NowColumn, ColumnCount };

    RegisterCompare(AppState& state, ZelLibrary& library, SymbolLookup* symbols,
                    RegisterCompareView& view, EventPump pump);

    // Reads the file at `path` and the same registers from the controller, and lists those
    // that differ. A file that cannot be read, or a bad line in it, is reported and nothing is
    // compared; false then.
    bool compare(const QString& path);
    // Writes the file's value into every ticked register after asking once; each write is
    // reported in the status line, and a register written is taken off the list.
    void writeTicked();
    // The list as comma-separated text: a header line, then one line per difference.
    QByteArray csv() const;

    const QList<RegisterDifference>& differences() const { return rows_; }
    int tickedCount() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    class Busy;

    bool isVRegister(int32_t number) const;
    std::optional<QList<RegisterFileEntry>> readFile(const QString& path);
    std::optional<double> readNow(const RegisterFileEntry& entry);
    bool write(const RegisterDifference& row);
    QString text(const RegisterDifference& row, int column) const;

    AppState& state_;
    ZelLibrary& library_;
    SymbolLookup* symbols_;
    RegisterCompareView& view_;
    EventPump pump_;
    QList<RegisterDifference> rows_;
};

}  // namespace zel
