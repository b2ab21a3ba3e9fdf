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

// The headers of a register listing, with the symbol column while symbols name registers; a
// listing with resources in it names its rows in a "Name" column.
QStringList registerHeaders(const RegisterNames& names, const QList<Target>& targets,
                            const QStringList& before = {});
// Which of those columns hold numbers.
QList<bool> numericColumns(const QStringList& headers);
// A register's number or a resource's name, the register's symbol while symbols name
// registers, and the value.
QStringList registerRow(const RegisterNames& names, const Target& target, int32_t value);
// After connecting: the targets' checks against the controller, printed; kSuccess when it has
// them all.
int checkPresent(Session& session, const QList<Target>& targets);
// After a read of the target failed: prints why and returns the exit status.
int readFailed(Session& session, const Target& target);

}  // namespace zel::ctl
