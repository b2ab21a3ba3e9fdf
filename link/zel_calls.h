// The library's calls, named once with what each does. The decorators, the test double, the
// traffic record and the entry point loader all take their call names and rules from here.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

namespace zel {

// What a call reaches.
enum class CallEffect : uint8_t {
    Library,   // the library's own settings or records; the controller is not asked
    Link,      // opens, sets up or closes the link
    Reads,     // one exchange that reads the controller
    Changes,   // one exchange that may change the controller
    Transfer,  // a whole program file, many exchanges the library makes on its own
};

// What a successful result looks like.
enum class CallSuccess : uint8_t {
    One,      // 1
    Opened,   // a handle above 0
    NonZero,  // a count of reply bytes; only 0 is a failure
};

// Whether the handle is the call's first argument.
enum class CallHandle : uint8_t { None, First };

// The registers a call names by its first argument after the handle.
enum class CallRegisters : uint8_t { None, One, Sixteen, Fifty };

// clang-format off
// X(name without its "Zl", handle, effect, success, registers)
#define ZEL_LIBRARY_CALLS(X) \
    X(OpenConnection,             None,  Link,     Opened,  None)    \
    X(OpenNetConnection,          None,  Link,     Opened,  None)    \
    X(InitConnection,             First, Link,     One,     None)    \
    X(SetConnectionTimeout,       First, Library,  One,     None)    \
    X(CloseConnection,            First, Link,     One,     None)    \
    X(GetAvailableAdaptersIPList, None,  Library,  One,     None)    \
    X(SetAdapter,                 None,  Library,  One,     None)    \
    X(GetErrorInfo,               First, Library,  One,     None)    \
    X(GetRegister,                First, Reads,    One,     One)     \
    X(PutRegister,                First, Changes,  One,     One)     \
    X(GetRegister16,              First, Reads,    One,     Sixteen) \
    X(GetRegister50,              First, Reads,    One,     Fifty)   \
    X(GetVRegister,               First, Reads,    One,     One)     \
    X(SetVRegister,               First, Changes,  One,     One)     \
    X(PutFlag,                    First, Changes,  One,     None)    \
    X(GetStatus,                  First, Reads,    One,     None)    \
    X(PutStatus,                  First, Changes,  One,     None)    \
    X(GetModel,                   First, Reads,    One,     None)    \
    X(GetConfig,                  First, Reads,    One,     None)    \
    X(PutConfig,                  First, Changes,  One,     None)    \
    X(GetIoCount,                 First, Reads,    One,     None)    \
    X(GetMiscIoCount,             First, Reads,    One,     None)    \
    X(GetTaskBank,                First, Reads,    One,     None)    \
    X(GetDataTableDim,            First, Reads,    One,     None)    \
    X(GetDataTableRow,            First, Reads,    One,     None)    \
    X(PutDataTableRow,            First, Changes,  One,     None)    \
    X(Download,                   First, Transfer, One,     None)    \
    X(Upload,                     First, Transfer, One,     None)    \
    X(SendData,                   First, Changes,  One,     None)    \
    X(SendAscii,                  First, Changes,  NonZero, None)
// clang-format on

enum class ZelCall : uint8_t {
#define ZEL_CALL_ENUMERATOR(name, handle, effect, success, registers) name,
    ZEL_LIBRARY_CALLS(ZEL_CALL_ENUMERATOR)
#undef ZEL_CALL_ENUMERATOR
};

struct ZelCallTraits {
    const char* name;  // the library's own name, e.g. "ZlGetRegister"
    CallHandle handle;
    CallEffect effect;
    CallSuccess success;
    CallRegisters registers;
};

inline constexpr std::array kZelCalls = {
#define ZEL_CALL_TRAITS(name, handle, effect, success, registers)                           \
    ZelCallTraits{"Zl" #name, CallHandle::handle, CallEffect::effect, CallSuccess::success, \
                  CallRegisters::registers},
    ZEL_LIBRARY_CALLS(ZEL_CALL_TRAITS)
#undef ZEL_CALL_TRAITS
};
inline constexpr int kZelCallCount = static_cast<int>(kZelCalls.size());

constexpr const ZelCallTraits& callTraits(ZelCall call) {
    return kZelCalls[static_cast<std::size_t>(call)];
}
constexpr const char* callName(ZelCall call) {
    return callTraits(call).name;
}

constexpr bool callSucceeded(ZelCall call, int32_t result) {
    switch (callTraits(call).success) {
        case CallSuccess::One:
            return result == 1;
        case CallSuccess::Opened:
            return result > 0;
        case CallSuccess::NonZero:
            return result != 0;
    }
    return false;
}

// The numbers a call carries, as the traffic record and the test double's log show them: the
// handle first where the call takes one, then its other numeric arguments in order.
using CallNumbers = std::initializer_list<int32_t>;

// The handle a call was made on; 0 for a call that takes none.
constexpr int32_t handleOf(ZelCall call, CallNumbers numbers) {
    const bool takesHandle = callTraits(call).handle == CallHandle::First;
    return takesHandle && numbers.size() > 0 ? *numbers.begin() : 0;
}

// The registers a call names: first..last, or first > last for none.
struct RegisterRange {
    int32_t first = 1;
    int32_t last = 0;
};

// The library reads blocks of fifty among the first thousand registers only.
inline constexpr int32_t kLastBlockOfFifty = 20;

// Block b of fifty holds registers 50(b-1)+1 to 50b.
constexpr RegisterRange registersOf(ZelCall call, CallNumbers numbers) {
    if (numbers.size() < 2) return {};
    const int32_t argument = numbers.begin()[1];
    switch (callTraits(call).registers) {
        case CallRegisters::None:
            return {};
        case CallRegisters::One:
            return {argument, argument};
        case CallRegisters::Sixteen:
            return {argument, argument + 15};
        case CallRegisters::Fifty:
            return {50 * (argument - 1) + 1, 50 * argument};
    }
    return {};
}

}  // namespace zel
