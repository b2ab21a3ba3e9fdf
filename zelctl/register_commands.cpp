#include <algorithm>

#include "zelctl/commands.h"
#include "zelctl/exit_status.h"
#include "zelctl/output.h"

namespace zel::ctl {

QStringList registerHeaders(const RegisterNames& names, const QList<Target>& targets,
                            const QStringList& before) {
    const bool registersOnly = std::all_of(targets.begin(), targets.end(), [](const Target& t) {
        return t.kind == Resource::Register;
    });
    QStringList headers = before;
    headers << (registersOnly ? QStringLiteral("Register") : QStringLiteral("Name"));
    if (names.hasNames()) headers << QStringLiteral("Symbol");
    headers << QStringLiteral("Value");
    return headers;
}

QList<bool> numericColumns(const QStringList& headers) {
    QList<bool> numeric;
    for (const QString& h : headers) numeric << (h == "Register" || h == "Value");
    return numeric;
}

QStringList registerRow(const RegisterNames& names, const Target& target, int32_t value) {
    QStringList row{targetName(target)};
    if (names.hasNames()) row << names.name(target);
    row << QString::number(value);
    return row;
}

int checkPresent(Session& session, const QList<Target>& targets) {
    for (const Target& target : targets) {
        if (const std::optional<QString> missing = missingTarget(session, target)) {
            printError(*missing);
            return kBadUsage;
        }
    }
    return kSuccess;
}

int readFailed(Session& session, const Target& target) {
    const QString what = target.kind == Resource::Register
                             ? QStringLiteral("Cannot read register ") + targetName(target)
                             : QStringLiteral("Cannot read ") + targetName(target);
    return session.callFailed(what);
}

int readRegisters(Command& c) {
    const auto targets = c.names.selection(c.arguments.operands);
    if (!targets) {
        printError(c.names.error());
        return kBadUsage;
    }
    if (const int status = c.session.open(c.arguments)) return status;
    if (const int status = checkPresent(c.session, *targets)) return status;
    const QStringList headers = registerHeaders(c.names, *targets);
    Output out(c.arguments.form, headers, numericColumns(headers));
    for (const Target& target : *targets) {
        int32_t value = 0;
        if (readTarget(c.session, target, value) != 1) return readFailed(c.session, target);
        out.add(registerRow(c.names, target, value));
    }
    out.finish();
    return kSuccess;
}

int writeRegister(Command& c) {
    const auto target = c.names.target(c.arguments.operands[0]);
    if (!target) {
        printError(c.names.error());
        return kBadUsage;
    }
    const QString& text = c.arguments.operands[1];
    const auto value = registerValue(text);
    if (!value) {
        printError(QStringLiteral("\"%1\" is not a 32-bit value.").arg(text));
        return kBadUsage;
    }
    if (const std::optional<QString> refused = refusedValue(*target, *value)) {
        printError(*refused);
        return kBadUsage;
    }
    if (const int status = c.session.open(c.arguments)) return status;
    if (const int status = checkPresent(c.session, {*target})) return status;
    if (writeTarget(c.session, *target, *value) != 1) {
        const QString what = target->kind == Resource::Register
                                 ? QStringLiteral("Cannot write register ") + targetName(*target)
                                 : QStringLiteral("Cannot write ") + targetName(*target);
        return c.session.callFailed(what);
    }
    return kSuccess;
}

}  // namespace zel::ctl
