// A controller's status as raw status packets and task banks carry it, answered through
// FakeZelLibrary; each reply is built byte by byte and a test may break any of them.
#pragma once

#include <QByteArray>
#include <functional>
#include <vector>

#include "link/fake/fake_zel_library.h"
#include "status/status_record.h"

namespace zel::test {

// Length in front, inverted checksum and 255 behind a reply's code and fields.
QByteArray sealReply(const QByteArray& body);

class PacketController {
public:
    struct Task {
        uint16_t rawStep = 0xFFFF;  // zero-based as sent; 0xFFFF: not executed
        uint8_t state = 0;
        status::TaskKey keys{};
    };

    explicit PacketController(int taskTotal = 32);

    // Task `child` runs `step` (1-based), started by `starter`.
    void start(int starter, int child, int step);
    void setStep(int task, int step) { tasks[size_t(task)].rawStep = uint16_t(step - 1); }

    QByteArray statusReply() const;
    QByteArray groupReply(int offset) const;
    // Answers ZlSendData from this controller as it is at each call, through `tamper` if set.
    void answerPackets(FakeZelLibrary& fake);
    // Serves banks 1..8 as they are now under the library's numbers base + 1 ...
    void serveBanks(FakeZelLibrary& fake, int base) const;

    uint8_t stopped = 0, faultCode = 0;
    uint16_t faultStep = 0;
    int32_t faultDatum = 0;
    int taskTotal;
    std::vector<Task> tasks;
    // (command, group offset, reply) -> the reply handed out.
    std::function<QByteArray(int, int, const QByteArray&)> tamper;
};

}  // namespace zel::test
