// Registers as the command line names them: numbers, ranges "FIRST..LAST" and, with a symbol
// file, the registers' symbol names; and the name a register is shown with.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace zel::ctl {

class RegisterNames {
public:
    // Reads the register and non-volatile register symbols of a symbol file. False, with
    // error() saying why, when the file cannot be read.
    bool load(const QString& symbolFile);

    // The register a word names; empty, with error() saying why, for a word that is neither a
    // number 1..40000 nor a register symbol.
    std::optional<int32_t> number(const QString& word);
    // Every register of the words, ranges expanded in order; empty at the first bad word.
    std::optional<QList<int32_t>> selection(const QStringList& words);
    // The symbol name of a register; empty when none names it.
    QString name(int32_t number) const { return names_.value(number); }
    bool hasNames() const { return !names_.isEmpty(); }

    const QString& error() const { return error_; }

private:
    QHash<QString, int32_t> numbers_;
    QHash<int32_t, QString> names_;
    QString error_;
};

// A 32-bit signed value written in decimal; empty for anything else.
std::optional<int32_t> registerValue(const QString& text);

}  // namespace zel::ctl
