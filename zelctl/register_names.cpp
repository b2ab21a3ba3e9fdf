#include "zelctl/register_names.h"

#include <algorithm>
#include <array>

#include "symbols/import_progress.h"
#include "symbols/symbol_import.h"

namespace zel::ctl {
namespace {

// The kind of resource each symbol table names; a servo's symbol names its position and its
// error alike, and steps are no resource.
struct SymbolKind {
    SymbolCode code;
    Resource kind;
};
constexpr std::array<SymbolKind, 8> kSymbolKinds = {{
    {SymbolCode::Register, Resource::Register},
    {SymbolCode::NvRegister, Resource::Register},
    {SymbolCode::Flag, Resource::Flag},
    {SymbolCode::DigitalInput, Resource::Input},
    {SymbolCode::DigitalOutput, Resource::Output},
    {SymbolCode::AnalogInput, Resource::AnalogIn},
    {SymbolCode::AnalogOutput, Resource::AnalogOut},
    {SymbolCode::Servo, Resource::ServoPosition},
}};

QString described(const Target& target) {
    return target.kind == Resource::Register ? QStringLiteral("register ") + targetName(target)
                                             : targetName(target);
}

}  // namespace

RegisterNames::RegisterNames() = default;
RegisterNames::~RegisterNames() = default;

bool RegisterNames::load(const QString& symbolFile) {
    files_.SymbolFileName = symbolFile;
    auto database = std::make_unique<symbols::SymbolDatabase>(files_);
    if (!database->CreateSymbolDatabase()) {
        error_ = QStringLiteral("Cannot make the symbol database for ") + symbolFile +
                 QStringLiteral(": ") + database->errorText();
        return false;
    }
    symbols::ImportProgress progress;
    const symbols::ImportResult imported =
        symbols::importSymbolFile(symbolFile, *database, progress);
    if (!imported.ok) {
        error_ =
            QStringLiteral("Cannot read ") + symbolFile + QStringLiteral(": ") + imported.error;
        return false;
    }
    database->OpenSymbolQueries();
    if (!database->errorText().isEmpty()) {
        error_ = QStringLiteral("Cannot look up the symbols of ") + symbolFile +
                 QStringLiteral(": ") + database->errorText();
        return false;
    }
    notice_ = symbols::unreadableLinesText(symbolFile, imported.unreadable);
    symbols_ = std::move(database);
    return true;
}

bool RegisterNames::isSymbol(const QString& word) const {
    return symbols_ && !symbols_->symbolsNamed(word).empty();
}

std::optional<Target> RegisterNames::checked(const ResourceRule& rule, const QString& text,
                                             qlonglong n) {
    if (rule.kind == Resource::Register) {
        if (n >= 1 && n <= kRegisterLimit) return Target{rule.kind, static_cast<int32_t>(n)};
        error_ = QStringLiteral("no register %1: registers run from 1 to %2.")
                     .arg(text)
                     .arg(kRegisterLimit);
        return std::nullopt;
    }
    const qlonglong limit = rule.last > 0 ? rule.last : kRegisterLimit;
    if (n >= 1 && n <= limit) return Target{rule.kind, static_cast<int32_t>(n)};
    error_ = rule.last > 0 ? QStringLiteral("no %1 %2: %1 numbers run from 1 to %3.")
                                 .arg(QLatin1String(rule.name), text)
                                 .arg(rule.last)
                           : QStringLiteral("no %1 %2.").arg(QLatin1String(rule.name), text);
    return std::nullopt;
}

// A name that two resources share is refused rather than guessed.
std::optional<Target> RegisterNames::named(const QString& word) {
    QList<Target> found;
    if (symbols_) {
        for (const symbols::SymbolEntry& symbol : symbols_->symbolsNamed(word)) {
            const auto kind =
                std::find_if(kSymbolKinds.begin(), kSymbolKinds.end(),
                             [&](const SymbolKind& k) { return k.code == symbol.code; });
            if (kind == kSymbolKinds.end()) continue;
            const Target t{kind->kind, symbol.number};
            if (!found.contains(t)) found << t;
        }
    }
    if (found.isEmpty()) {
        error_ = QStringLiteral("no register or resource is named ") + word + u'.';
        return std::nullopt;
    }
    if (found.size() > 1) {
        QStringList all;
        for (const Target& t : found) all << described(t);
        error_ = QStringLiteral("%1 names %2; name the one meant by its number.")
                     .arg(word, all.join(QStringLiteral(" and ")));
        return std::nullopt;
    }
    const std::optional<Target> t =
        checked(ruleOf(found[0].kind), QString::number(found[0].number), found[0].number);
    if (!t) error_ = word + QStringLiteral(": ") + error_;
    return t;
}

std::optional<Target> RegisterNames::single(const QString& word) {
    bool isNumber = false;
    const qlonglong n = word.toLongLong(&isNumber);
    if (isNumber) return checked(ruleOf(Resource::Register), word, n);
    return named(word);
}

RegisterNames::Naming RegisterNames::resources(const QString& word, QList<Target>& targets) {
    const qsizetype colon = word.indexOf(u':');
    if (colon < 0 || isSymbol(word)) return Naming::NotResources;
    const ResourceRule* rule = resourceRule(word.left(colon));
    if (!rule) {
        error_ = QStringLiteral("no resource kind is named %1 (the kinds are %2).")
                     .arg(word.left(colon), resourceNames());
        return Naming::Refused;
    }
    const QString numbers = word.mid(colon + 1);
    const qsizetype dots = numbers.indexOf(QStringLiteral(".."));
    QList<Target> ends;
    for (const QString& text :
         {dots < 0 ? numbers : numbers.left(dots), dots < 0 ? numbers : numbers.mid(dots + 2)}) {
        bool isNumber = false;
        const qlonglong n = text.toLongLong(&isNumber);
        const std::optional<Target> end = checked(*rule, text, isNumber ? n : 0);
        if (!end) return Naming::Refused;
        ends << *end;
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
    if (naming == Naming::NotResources) return single(word);
    if (named.size() == 1) return named.first();
    error_ = QStringLiteral("name one ") + word.left(word.indexOf(u':')) +
             QStringLiteral(", not a range.");
    return std::nullopt;
}

// Both ends of a range name the same kind, by number or by symbol.
std::optional<QList<Target>> RegisterNames::selection(const QStringList& words) {
    QList<Target> targets;
    for (const QString& word : words) {
        const Naming naming = resources(word, targets);
        if (naming == Naming::Refused) return std::nullopt;
        if (naming == Naming::Named) continue;
        const qsizetype dots = isSymbol(word) ? -1 : word.indexOf(QStringLiteral(".."));
        const auto first = single(dots < 0 ? word : word.left(dots));
        if (!first) return std::nullopt;
        const auto last = dots < 0 ? first : single(word.mid(dots + 2));
        if (!last) return std::nullopt;
        if (last->kind != first->kind) {
            error_ = QStringLiteral("the range %1 runs from %2 to %3, which are not of one kind.")
                         .arg(word, described(*first), described(*last));
            return std::nullopt;
        }
        if (last->number < first->number) {
            error_ = QStringLiteral("the range ") + word + QStringLiteral(" runs backwards.");
            return std::nullopt;
        }
        for (int32_t n = first->number; n <= last->number; ++n) targets << Target{first->kind, n};
    }
    return targets;
}

QString RegisterNames::name(const Target& target) const {
    if (!symbols_) return {};
    const Resource kind =
        target.kind == Resource::ServoError ? Resource::ServoPosition : target.kind;
    for (const SymbolKind& k : kSymbolKinds) {
        if (k.kind != kind) continue;
        const QString found = symbols_->name(k.code, target.number);
        if (!found.isEmpty()) return found;
    }
    return {};
}

std::optional<int32_t> registerValue(const QString& text) {
    bool ok = false;
    const int32_t value = text.toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace zel::ctl
