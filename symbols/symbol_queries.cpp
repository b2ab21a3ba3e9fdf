// The nine result sets and the name lookups the windows make in them.
#include <algorithm>

#include "common/number_text.h"
#include "symbols/symbol_database.h"

namespace zel::symbols {
namespace {

QString codeText(SymbolCode code) {
    return QString::number(static_cast<int32_t>(code));
}

// On a controller, input state 1 is the symbol with value 0 and output state 1 the symbol
// with value 1; both show "On" in green.
SymbolDisplay stateDisplay(bool on) {
    return on ? SymbolDisplay{{}, QStringLiteral("On"), kOnColour}
              : SymbolDisplay{{}, QStringLiteral("Off"), kOffColour};
}

}  // namespace

void SymbolDatabase::OpenSymbolQueries() {
    if (!db_.isOpen()) {
        error_ = QStringLiteral("The symbol database is not open.");
        return;
    }
    for (size_t i = 0; i < kResultSetCodes.size(); ++i) {
        const QString code = codeText(kResultSetCodes[i]);
        criteria_ =
            QStringLiteral("SELECT * FROM Symbols WHERE [Code] = '%1' ORDER BY Number").arg(code);
        // Rows of one number come in index order, so a search by number alone finds the
        // lowest value first.
        const QString sql = QStringLiteral(
                                "SELECT Value, Name FROM Symbols WHERE Code = '%1' AND "
                                "Number = ?1 ORDER BY Value")
                                .arg(code);
        if (!queries_[i].prepare(db_, sql.toUtf8())) error_ = db_.errorText();
    }
    if (!byName_.prepare(db_,
                         "SELECT Code, Number, Value FROM Symbols WHERE Name = ?1 "
                         "ORDER BY CAST(Code AS INTEGER), Number, Value"))
        error_ = db_.errorText();
}

std::vector<SymbolEntry> SymbolDatabase::symbolsNamed(const QString& name) {
    std::vector<SymbolEntry> found;
    if (!active() || !byName_.isPrepared()) return found;
    const QByteArray utf8 = name.toUtf8();
    byName_.bindText(1, utf8);
    while (byName_.step() == SqliteStatement::Step::Row) {
        const auto code = static_cast<SymbolCode>(byName_.columnText(0).toInt());
        if (std::find(kResultSetCodes.begin(), kResultSetCodes.end(), code) !=
            kResultSetCodes.end())
            found.push_back({code, static_cast<int32_t>(byName_.columnInt(1)),
                             static_cast<int32_t>(byName_.columnInt(2))});
    }
    byName_.reset();
    return found;
}

std::optional<QString> SymbolDatabase::findName(SymbolCode code, int32_t number,
                                                std::optional<int32_t> value) {
    const auto at = std::find(kResultSetCodes.begin(), kResultSetCodes.end(), code);
    if (at == kResultSetCodes.end()) return std::nullopt;
    SqliteStatement& query = queries_[static_cast<size_t>(at - kResultSetCodes.begin())];
    if (!query.isPrepared()) return std::nullopt;
    query.bindInt(1, number);
    std::optional<QString> found;
    while (!found && query.step() == SqliteStatement::Step::Row)
        if (!value || query.columnInt(0) == *value) found = QString::fromUtf8(query.columnText(1));
    query.reset();
    return found;
}

QString SymbolDatabase::name(SymbolCode code, int32_t number) {
    if (!active()) return {};
    criteria_ = QStringLiteral("Number =") + strNumber(number);
    return findName(code, number, std::nullopt).value_or(QString());
}

// The criteria text is written as the windows have always logged it, with no blank before
// "and".
std::optional<QString> SymbolDatabase::findStateName(SymbolCode code, int32_t number,
                                                     int32_t value) {
    if (!active()) return std::nullopt;
    criteria_ = QStringLiteral("Number =") + strNumber(number) + QStringLiteral("and Value = ") +
                QString::number(value);
    return findName(code, number, value);
}

SymbolDisplay SymbolDatabase::InputSymbol(int32_t number, int32_t state) {
    if (state != 0 && state != 1) return {};
    const bool on = state == 1;
    SymbolDisplay display = stateDisplay(on);
    display.name = findStateName(SymbolCode::DigitalInput, number, on ? 0 : 1)
                       .value_or(QStringLiteral("in_%1%2").arg(number).arg(on ? 'A' : 'B'));
    return display;
}

SymbolDisplay SymbolDatabase::OutputSymbol(int32_t number, int32_t state) {
    const bool on = state == 1;
    SymbolDisplay display = stateDisplay(on);
    display.name = findStateName(SymbolCode::DigitalOutput, number, on ? 1 : 0)
                       .value_or(QStringLiteral("OUT_%1_%2").arg(number).arg(on ? "ON" : "OFF"));
    return display;
}

}  // namespace zel::symbols
