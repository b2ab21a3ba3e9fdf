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

RegisterNames::Naming RegisterNames::resources(const QString& word, QList<Target>& targets) {
    const qsizetype colon = word.indexOf(u':');
    if (colon < 0 || numbers_.contains(word)) return Naming::NotResources;
    const ResourceRule* rule = resourceRule(word.left(colon));
    if (!rule) {
        error_ = QStringLiteral("no resource kind is named %1 (the kinds are %2).")
                     .arg(word.left(colon), resourceNames());
        return Naming::Refused;
    }
    const QString numbers = word.mid(colon + 1);
    const qsizetype dots = numbers.indexOf(QStringLiteral(".."));
    const QString last = dots < 0 ? numbers : numbers.mid(dots + 2);
    QList<Target> ends;
    for (const QString& text : {dots < 0 ? numbers : numbers.left(dots), last}) {
        bool isNumber = false;
        const qlonglong n = text.toLongLong(&isNumber);
        const qlonglong limit = rule->last > 0 ? rule->last : kRegisterLimit;
        if (!isNumber || n < 1 || n > limit) {
            error_ = rule->last > 0 ? QStringLiteral("no %1 %2: %1 numbers run from 1 to %3.")
                                          .arg(QLatin1String(rule->name), text)
                                          .arg(rule->last)
                                    : QStringLiteral("no %1 %2.").arg(QLatin1String(rule->name), text);
            return Naming::Refused;
        }
        ends << Target{rule->kind, static_cast<int32_t>(n)};
    }
    if (ends[1].number < ends[0].number) {
        error_ = QStringLiteral("the range ") + word + QStringLiteral(" runs backwards.");
        return Naming::Refused;
    }
    for (int32_t n = ends[0].number; n <= ends[1].number; ++n) targets << Target{rule->kind, n};
    return Naming::Named;
}

std::optional<Target> RegisterNames::target(const QString& word) {
    QList<Target> named;
    const Naming naming = resources(word, named);
    if (naming == Naming::Refused) return std::nullopt;
    if (naming == Naming::Named) {
        if (named.size() == 1) return named.first();
        error_ = QStringLiteral("name one ") + word.left(word.indexOf(u':')) +
                 QStringLiteral(", not a range.");
        return std::nullopt;
    }
    const auto n = number(word);
    if (!n) return std::nullopt;
    return Target{Resource::Register, *n};
}

std::optional<QList<Target>> RegisterNames::selection(const QStringList& words) {
    QList<Target> targets;
    for (const QString& word : words) {
        const Naming naming = resources(word, targets);
        if (naming == Naming::Refused) return std::nullopt;
        if (naming == Naming::Named) continue;
        const qsizetype dots = word.indexOf(QStringLiteral(".."));
        const auto first = number(dots < 0 ? word : word.left(dots));
        if (!first) return std::nullopt;
        const auto last = dots < 0 ? first : number(word.mid(dots + 2));
        if (!last) return std::nullopt;
        if (*last < *first) {
            error_ = QStringLiteral("the range ") + word + QStringLiteral(" runs backwards.");
            return std::nullopt;
        }
        for (int32_t r = *first; r <= *last; ++r) targets << Target{Resource::Register, r};
    }
    return targets;
}

std::optional<int32_t> registerValue(const QString& text) {
    bool ok = false;
    const int32_t value = text.toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace zel::ctl
