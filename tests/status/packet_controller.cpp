#include "tests/status/packet_controller.h"

namespace zel::test {

QByteArray sealReply(const QByteArray& body) {
    uint8_t sum = 0;
    for (char b : body) sum = uint8_t(sum + uint8_t(b));
    return char(body.size() + 2) + body + char(sum ^ 0xFF) + char(255);
}

PacketController::PacketController(int total) : taskTotal(total), tasks(size_t(total)) {
    tasks[0] = {0, 1, {}};
}

void PacketController::start(int starter, int child, int step) {
    tasks[size_t(starter)].keys[size_t((child - 1) / 32)] |= 1u << ((child - 1) % 32);
    tasks[size_t(child)].state = 1;
    setStep(child, step);
}

QByteArray PacketController::statusReply() const {
    QByteArray body;
    for (int b : {45, int(stopped), int(faultCode), faultStep & 0xFF, faultStep >> 8})
        body += char(b);
    for (int i = 0; i < 4; ++i) body += char(uint32_t(faultDatum) >> (8 * i));
    return sealReply(body);
}

QByteArray PacketController::groupReply(int offset) const {
    QByteArray body;
    for (int b : {108, taskTotal, offset}) body += char(b);
    for (size_t t = size_t(offset); t < size_t(offset + 8); ++t) {
        const Task task = t < tasks.size() ? tasks[t] : Task{};
        for (int b : {task.rawStep & 0xFF, task.rawStep >> 8, int(task.state)}) body += char(b);
        for (int k = 0; k < (taskTotal - 1) / 8 + 1; ++k)
            body += char(task.keys[size_t(k / 4)] >> (8 * (k % 4)));
    }
    return sealReply(body);
}

void PacketController::answerPackets(FakeZelLibrary& fake) {
    fake.setResponder(ZelCall::SendData, [this, &fake](const QVector<int32_t>&) {
        // The fake logs the request in hex before it asks for the result.
        QString hex = fake.calls().last().section(QStringLiteral(", "), 3);
        hex.chop(1);
        const QByteArray request = QByteArray::fromHex(hex.toLatin1());
        const int offset = request[2] == char(107) ? uint8_t(request[3]) : -1;
        const QByteArray reply = offset < 0 ? statusReply() : groupReply(offset);
        fake.setSendDataReply(tamper ? tamper(uint8_t(request[2]), offset, reply) : reply);
        return 1;
    });
}

void PacketController::serveBanks(FakeZelLibrary& fake, int base) const {
    for (int bank = 1; bank <= 8; ++bank) {
        TaskBank b{stopped, faultCode, faultStep, faultDatum, {}, {}, {}};
        for (size_t i = 0; i < 8; ++i) {
            const size_t t = size_t(8 * (bank - 1)) + i;
            const Task task = t < tasks.size() ? tasks[t] : Task{};
            b.steps[i] = task.rawStep + 1;
            b.lowKeys[i] = int32_t(task.keys[0]);
            b.highKeys[i] = int32_t(task.keys[1]);
        }
        fake.setTaskBank(base + bank, b);
    }
}

}  // namespace zel::test
