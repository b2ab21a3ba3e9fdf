// The commands; each returns the exit status. Names and values are checked before the link is
// used, and nothing is written unless all of them are good.
#pragma once

#include "zelctl/arguments.h"
#include "zelctl/register_names.h"
#include "zelctl/session.h"

namespace zel::ctl {

struct Command {
    Session& session;
    const Arguments& arguments;
    RegisterNames& names;
};

int readRegisters(Command& c);
int writeRegister(Command& c);
int watchRegisters(Command& c);
int showStatus(Command& c);
int backupRegisters(Command& c);
int restoreRegisters(Command& c);
int diffRegisters(Command& c);

// The headers of a register listing, with the symbol column while symbols name registers.
QStringList registerHeaders(const RegisterNames& names, const QStringList& before = {});
// Which of those columns hold numbers.
QList<bool> numericColumns(const QStringList& headers);
// A register's number, its symbol while symbols name registers, and its value.
QStringList registerRow(const RegisterNames& names, int32_t number, int32_t value);

}  // namespace zel::ctl
