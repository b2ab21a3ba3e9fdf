// Registers as the command line names them: numbers, ranges "FIRST..LAST" and, with a symbol
// file, the registers' symbol names; resources as "KIND:FIRST[..LAST]"; and the name a
// register is shown with.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "zelctl/resource_targets.h"

namespace zel::ctl {

class RegisterNames {
public:
    // Reads the register and non-volatile register symbols of a symbol file. False, with
    // error() saying why, when the file cannot be read.
    bool load(const QString& symbolFile);

    // The register or resource a word names; empty, with error() saying why, for a word that
    // is neither a number 1..40000, a register symbol, nor a resource within its kind's numbers.
    std::optional<Target> target(const QString& word);
    // Every register and resource of the words, ranges expanded in order; empty at the first
    // bad word.
    std::optional<QList<Target>> selection(const QStringList& words);
    // The symbol name of a register; empty when none names it.
    QString name(int32_t number) const { return names_.value(number); }
    bool hasNames() const { return !names_.isEmpty(); }

    const QString& error() const { return error_; }

private:
    std::optional<int32_t> number(const QString& word);
    enum class Naming { NotResources, Named, Refused };
    // "KIND:NUMBER" and "KIND:FIRST..LAST" into `targets`; NotResources for a word with no
    // kind prefix or a symbol's name, Refused with error() saying why.
    Naming resources(const QString& word, QList<Target>& targets);

    QHash<QString, int32_t> numbers_;
    QHash<int32_t, QString> names_;
    QString error_;
};

// A 32-bit signed value written in decimal; empty for anything else.
std::optional<int32_t> registerValue(const QString& text);

}  // namespace zel::ctl
