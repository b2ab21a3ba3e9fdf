#include "status/task_banks.h"

#include "status/build_status_data.h"
#include "link/lib_error.h"

namespace zel::status {
namespace {

[[noreturn]] void bankReadFailed(PollContext& context, int32_t number) {
    fetchLibError(context.library, context.state);
    const QString text =
        failureText(QStringLiteral("Failed to read task bank ") + QString::number(number) + u'.',
                    context.state.LibError);
    throw PollingError(text.toStdString());
}

}  // namespace

void readTaskBanks(PollContext& context, StatusRecord& record, const PumpCheck& pumpCheck) {
    const ConnectionState& connection = context.state.connection;
    const bool highNumbers = connection.ModelCode >= kBankNumberingModel;
    record.TaskTotal = highNumbers ? 64 : connection.TaskCount;
    for (int32_t bank = 1; bank <= record.TaskTotal / kTasksPerGroup; ++bank) {
        if (bank > record.HighestReferencedBank) continue;
        const int32_t number = highNumbers ? bank + kBankNumberBase : bank;
        if (highNumbers && number % 2 == 0 && !pumpCheck()) return;
        TaskBank contents{};
        if (context.library.ZlGetTaskBank(connection.CommHandle, number, contents) != 1)
            bankReadFailed(context, number);
        BuildStatusData(record, contents, bank);
    }
}

}  // namespace zel::status
