#include "zelctl/register_names.h"

#include <QFile>

#include "common/app_state.h"
#include "common/symbol_lookup.h"
#include "symbols/line_reader.h"
#include "symbols/symbol_line.h"

namespace zel::ctl {

bool RegisterNames::load(const QString& symbolFile) {
    QFile file(symbolFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("Cannot read ") + symbolFile + QStringLiteral(": ") +
                 file.errorString();
        return false;
    }
    const QByteArray registerCode = QByteArray::number(int32_t(SymbolCode::Register));
    const QByteArray nvCode = QByteArray::number(int32_t(SymbolCode::NvRegister));
    symbols::LineReader reader(file);
    QByteArrayView line;
    symbols::LineReader::Status status;
    while ((status = reader.next(line)) != symbols::LineReader::Status::End) {
        if (status == symbols::LineReader::Status::Error) {
            error_ = QStringLiteral("Cannot read ") + symbolFile + QStringLiteral(": ") +
                     reader.errorText();
            return false;
        }
        if (status != symbols::LineReader::Status::Line) continue;
        const symbols::ScannedLine scanned = symbols::scanSymbolLine(line);
        const symbols::SymbolRecord& r = scanned.record;
        if (scanned.kind != symbols::LineKind::Symbol || (r.code != registerCode && r.code != nvCode))
            continue;
        const QString name = QString::fromUtf8(r.name);
        numbers_.insert(name, r.number);
        names_.insert(r.number, name);
    }
    return true;
}

std::optional<int32_t> RegisterNames::number(const QString& word) {
    bool isNumber = false;
    const qlonglong n = word.toLongLong(&isNumber);
    if (isNumber) {
        if (n >= 1 && n <= kRegisterLimit) return static_cast<int32_t>(n);
        error_ = QStringLiteral("no register %1: registers run from 1 to %2.").arg(word).arg(kRegisterLimit);
        return std::nullopt;
    }
    if (const auto found = numbers_.constFind(word); found != numbers_.constEnd()) return *found;
    error_ = QStringLiteral("no register is named ") + word;
    return std::nullopt;
}

std::optional<QList<int32_t>> RegisterNames::selection(const QStringList& words) {
    QList<int32_t> numbers;
    for (const QString& word : words) {
        const qsizetype dots = word.indexOf(QStringLiteral(".."));
        const auto first = number(dots < 0 ? word : word.left(dots));
        if (!first) return std::nullopt;
        const auto last = dots < 0 ? first : number(word.mid(dots + 2));
        if (!last) return std::nullopt;
        if (*last < *first) {
            error_ = QStringLiteral("the range ") + word + QStringLiteral(" runs backwards.");
            return std::nullopt;
        }
        for (int32_t r = *first; r <= *last; ++r) numbers << r;
    }
    return numbers;
}

std::optional<int32_t> registerValue(const QString& text) {
    bool ok = false;
    const int32_t value = text.toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace zel::ctl
