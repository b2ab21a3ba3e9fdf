#include "transfer/register_compare.h"

#include <QFile>
#include <algorithm>

#include "link/lib_error.h"
#include "link/link_claim.h"
#include "transfer/register_file.h"

namespace zel {

namespace {

// Events run and progress is shown after this many reads.
constexpr int kReadsPerPump = 25;

QString valueText(double value, bool vRegister) {
    return vRegister ? QString::number(value, 'g', 15)
                     : QString::number(static_cast<int32_t>(value));
}

// A field as a spreadsheet reads it: quoted, with quotes doubled, when it holds a comma or one.
QByteArray csvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"')) return field;
    return '"' + field.replace("\"", "\"\"") + '"';
}

}  // namespace

// The buttons held off and the link claimed for as long as the controller is used.
class RegisterCompare::Busy {
public:
    explicit Busy(RegisterCompare& c) : c_(c), claim_(c.state_, LinkUse::Transfer) {
        if (claim_)
            c_.view_.setBusy(true);
        else
            c_.view_.setMessage(kLinkClaimedMessage);
    }
    ~Busy() {
        if (claim_) c_.view_.setBusy(false);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

    // False, with the reason shown, while another transfer holds the link.
    bool held() const { return claim_.held(); }

private:
    RegisterCompare& c_;
    LinkClaim claim_;
};

RegisterCompare::RegisterCompare(AppState& state, ZelLibrary& library, SymbolLookup* symbols,
                                 RegisterCompareView& view, EventPump pump)
    : state_(state), library_(library), symbols_(symbols), view_(view), pump_(std::move(pump)) {}

bool RegisterCompare::isVRegister(int32_t number) const {
    return isVRegisterOf(state_.connection.ModelCode, number);
}

// Every entry of the file with a value; an entry written as unread has nothing to compare.
std::optional<QList<RegisterFileEntry>> RegisterCompare::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        view_.setMessage(QStringLiteral("Cannot read ") + path + QStringLiteral(": ") +
                         file.errorString());
        return std::nullopt;
    }
    RegisterFileReader reader(file.readAll());
    const std::optional<QList<RegisterFileEntry>> entries =
        readRegisterEntries(reader, [this](int32_t number) { return isVRegister(number); });
    if (!entries) {
        view_.setMessage(path + QStringLiteral(" is not a register value file. ") +
                         reader.error() + QStringLiteral(" Nothing was compared."));
        return std::nullopt;
    }
    return entries;
}

std::optional<double> RegisterCompare::readNow(const RegisterFileEntry& entry) {
    const int32_t handle = state_.connection.CommHandle;
    if (entry.vRegister) {
        VRegister record{entry.number, 0.0};
        if (library_.ZlGetVRegister(handle, record) == 1) return record.value;
        return std::nullopt;
    }
    int32_t value = 0;
    if (library_.ZlGetRegister(handle, entry.number, value) == 1) return double(value);
    return std::nullopt;
}

bool RegisterCompare::compare(const QString& path) {
    const std::optional<QList<RegisterFileEntry>> entries = readFile(path);
    if (!entries) return false;
    if (state_.flags.NoCommunication) {
        view_.setMessage(QStringLiteral("There is NO communication with the controller!"));
        return false;
    }
    QList<RegisterDifference> found;
    {
        const Busy busy(*this);
        if (!busy.held()) return false;
        view_.setMessage(QStringLiteral("Reading registers, please wait ..."));
        view_.setProgress(0);
        for (qsizetype i = 0; i < entries->size(); ++i) {
            const RegisterFileEntry& e = (*entries)[i];
            const std::optional<double> now = readNow(e);
            if (now != e.value) {
                QString name;
                if (symbols_ && symbols_->active()) {
                    name = symbols_->name(SymbolCode::NvRegister, e.number);
                    if (name.isEmpty()) name = symbols_->name(SymbolCode::Register, e.number);
                }
                found.append({e.number, name, e.vRegister, e.value, now, false});
            }
            if ((i + 1) % kReadsPerPump == 0) {
                view_.setProgress(static_cast<int>((i + 1) * 100 / entries->size()));
                if (pump_) pump_();
            }
        }
        view_.setProgress(100);
    }
    beginResetModel();
    rows_ = std::move(found);
    endResetModel();
    view_.setMessage(rows_.isEmpty()
                         ? QStringLiteral("The controller holds the values of ") + path +
                               QStringLiteral(".")
                         : QString::number(rows_.size()) +
                               QStringLiteral(" register(s) differ from ") + path +
                               QStringLiteral("."));
    return true;
}

int RegisterCompare::tickedCount() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const auto& r) { return r.ticked; }));
}

bool RegisterCompare::write(const RegisterDifference& row) {
    const int32_t handle = state_.connection.CommHandle;
    int32_t result = 0;
    if (row.vRegister) {
        VRegister record{row.number, row.fileValue};
        result = library_.ZlSetVRegister(handle, record);
    } else {
        result = library_.ZlPutRegister(handle, row.number, static_cast<int32_t>(row.fileValue));
    }
    if (result == 1) {
        view_.setMessage(QStringLiteral("Register #%1 updated.").arg(row.number));
        return true;
    }
    fetchLibError(library_, state_);
    view_.setMessage(
        failureText(QStringLiteral("Failed to update register value!"), state_.LibError));
    return false;
}

void RegisterCompare::writeTicked() {
    const int count = tickedCount();
    if (count == 0) {
        view_.setMessage(QStringLiteral("Tick the registers to write first."));
        return;
    }
    if (!view_.confirm(QStringLiteral("Write the file's value into %1 register(s) of the "
                                      "controller?")
                           .arg(count)))
        return;
    QList<RegisterDifference> kept;
    {
        const Busy busy(*this);
        if (!busy.held()) return;
        for (const RegisterDifference& row : rows_)
            if (!row.ticked || !write(row)) kept.append(row);
    }
    beginResetModel();
    rows_ = std::move(kept);
    endResetModel();
}

QString RegisterCompare::text(const RegisterDifference& row, int column) const {
    switch (column) {
    case RegisterColumn: return QString::number(row.number);
    case SymbolColumn: return row.name;
    case FileColumn: return valueText(row.fileValue, row.vRegister);
    default:
        return row.nowValue ? valueText(*row.nowValue, row.vRegister)
                            : QString::fromLatin1(kUnreadValue);
    }
}

QByteArray RegisterCompare::csv() const {
    QByteArray out;
    for (int c = 0; c < ColumnCount; ++c)
        out += (c ? "," : "") + csvField(headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    out += "\r\n";
    for (const RegisterDifference& row : rows_) {
        for (int c = 0; c < ColumnCount; ++c) out += (c ? "," : "") + csvField(text(row, c));
        out += "\r\n";
    }
    return out;
}

int RegisterCompare::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RegisterCompare::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RegisterCompare::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const RegisterDifference& row = rows_[index.row()];
    if (role == Qt::DisplayRole) return text(row, index.column());
    if (role == Qt::CheckStateRole && index.column() == RegisterColumn)
        return row.ticked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && index.column() != SymbolColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

bool RegisterCompare::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != RegisterColumn)
        return false;
    rows_[index.row()].ticked = value.value<Qt::CheckState>() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags RegisterCompare::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == RegisterColumn) f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant RegisterCompare::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case RegisterColumn: return QStringLiteral("Register");
    case SymbolColumn: return QStringLiteral("Symbol");
    case FileColumn: return QStringLiteral("Value in file");
    case NowColumn: return QStringLiteral("Value now");
    default: return {};
    }
}

// Numbers sort as numbers; a register that could not be read sorts before every value.
void RegisterCompare::sort(int column, Qt::SortOrder order) {
    const auto key = [column](const RegisterDifference& r) -> std::pair<double, QString> {
        switch (column) {
        case SymbolColumn: return {0.0, r.name};
        case FileColumn: return {r.fileValue, {}};
        case NowColumn: return {r.nowValue ? *r.nowValue : -1e300, {}};
        default: return {double(r.number), {}};
        }
    };
    beginResetModel();
    std::stable_sort(rows_.begin(), rows_.end(), [&](const auto& a, const auto& b) {
        return order == Qt::AscendingOrder ? key(a) < key(b) : key(b) < key(a);
    });
    endResetModel();
}

}  // namespace zel
