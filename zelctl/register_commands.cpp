#include "zelctl/commands.h"
#include "zelctl/exit_status.h"
#include "zelctl/output.h"

namespace zel::ctl {

QStringList registerHeaders(const RegisterNames& names, const QStringList& before) {
    QStringList headers = before;
    headers << QStringLiteral("Register");
    if (names.hasNames()) headers << QStringLiteral("Symbol");
    headers << QStringLiteral("Value");
    return headers;
}

QList<bool> numericColumns(const QStringList& headers) {
    QList<bool> numeric;
    for (const QString& h : headers) numeric << (h == "Register" || h == "Value");
    return numeric;
}

QStringList registerRow(const RegisterNames& names, int32_t number, int32_t value) {
    QStringList row{QString::number(number)};
    if (names.hasNames()) row << names.name(number);
    row << QString::number(value);
    return row;
}

int readRegisters(Command& c) {
    const auto numbers = c.names.selection(c.arguments.operands);
    if (!numbers) {
        printError(c.names.error());
        return kBadUsage;
    }
    if (const int status = c.session.open(c.arguments)) return status;
    const QStringList headers = registerHeaders(c.names);
    Output out(c.arguments.form, headers, numericColumns(headers));
    for (const int32_t number : *numbers) {
        int32_t value = 0;
        if (c.session.library().ZlGetRegister(c.session.handle(), number, value) != 1)
            return c.session.callFailed(QStringLiteral("Cannot read register ") +
                                        QString::number(number));
        out.add(registerRow(c.names, number, value));
    }
    out.finish();
    return kSuccess;
}

int writeRegister(Command& c) {
    const auto number = c.names.number(c.arguments.operands[0]);
    if (!number) {
        printError(c.names.error());
        return kBadUsage;
    }
    const QString& text = c.arguments.operands[1];
    const auto value = registerValue(text);
    if (!value) {
        printError(QStringLiteral("\"%1\" is not a 32-bit value.").arg(text));
        return kBadUsage;
    }
    if (const int status = c.session.open(c.arguments)) return status;
    if (c.session.library().ZlPutRegister(c.session.handle(), *number, *value) != 1)
        return c.session.callFailed(QStringLiteral("Cannot write register ") +
                                    QString::number(*number));
    return kSuccess;
}

}  // namespace zel::ctl
