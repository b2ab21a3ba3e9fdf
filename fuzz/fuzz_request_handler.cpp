// The simulator's receiving side: any request kind with any body, handled by a controller
// that runs the default scenario. The first two bytes choose the request kind, so the fuzzer
// reaches every handler without having to forge frame checksums.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "frame.h"
#include "program_store.h"
#include "request_handler.h"
#include "scenario.h"

using namespace zel;

namespace {

struct Simulator {
    std::unique_ptr<sim::Controller> controller =
        sim::buildController(sim::defaultScenario(), "default");
    sim::ProgramStore store{*controller};
    sim::RequestHandler handler{*controller, store};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A fresh controller per input keeps every run independent of the ones before it.
    Simulator sim;
    if (size < 2) return 0;
    codec::Frame request;
    request.opcode = static_cast<uint16_t>(data[0] | data[1] << 8);
    request.body.assign(data + 2, data + size);
    const codec::Frame reply = sim.handler.handle(request);
    if (reply.id != request.id || reply.body.size() > codec::kMaxBody) __builtin_trap();
    return 0;
}
