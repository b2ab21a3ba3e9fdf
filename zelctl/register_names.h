// Registers as the command line names them: numbers, ranges "FIRST..LAST" and, with a symbol
// file, the symbol names of registers and of every other resource; resources as
// "KIND:FIRST[..LAST]"; and the symbol a register or resource is shown with.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "common/app_state.h"
#include "symbols/symbol_database.h"
#include "zelctl/resource_targets.h"

namespace zel::ctl {

class RegisterNames {
public:
    RegisterNames();
    ~RegisterNames();
    RegisterNames(const RegisterNames&) = delete;
    RegisterNames& operator=(const RegisterNames&) = delete;

    // Imports a symbol file into a symbol database of its own, which the names are then
    // looked up in. False, with error() saying why, when the file cannot be read.
    bool load(const QString& symbolFile);
    // After load: what was passed over in the file, empty when nothing was.
    const QString& notice() const { return notice_; }

    // The register or resource a word names; empty, with error() saying why, for a word that
    // is neither a number 1..40000, a symbol's name, nor a resource within its kind's numbers.
    std::optional<Target> target(const QString& word);
    // Every register and resource of the words, ranges expanded in order; empty at the first
    // bad word.
    std::optional<QList<Target>> selection(const QStringList& words);
    // The symbol name of a register or resource, as its window names its row; empty when none
    // names it.
    QString name(const Target& target) const;
    bool hasNames() const { return symbols_ != nullptr; }

    const QString& error() const { return error_; }

private:
    // A number or a symbol's name.
    std::optional<Target> single(const QString& word);
    std::optional<Target> named(const QString& word);
    std::optional<Target> checked(const ResourceRule& rule, const QString& text, qlonglong n);
    enum class Naming { NotResources, Named, Refused };
    // "KIND:NUMBER" and "KIND:FIRST..LAST" into `targets`; NotResources for a word with no
    // kind prefix or a symbol's name, Refused with error() saying why.
    Naming resources(const QString& word, QList<Target>& targets);
    bool isSymbol(const QString& word) const;

    FileSettings files_;
    std::unique_ptr<symbols::SymbolDatabase> symbols_;
    QString notice_;
    QString error_;
};

// A 32-bit signed value written in decimal; empty for anything else.
std::optional<int32_t> registerValue(const QString& text);

}  // namespace zel::ctl
