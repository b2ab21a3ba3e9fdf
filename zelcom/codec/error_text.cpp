#include "error_text.h"

#include "zelcom.h"

namespace zel::codec {

std::string errorText(int32_t code) {
    switch (code) {
        case ZL_OK: return "No error";
        case ZL_ERR_BAD_HANDLE: return "Invalid connection handle";
        case ZL_ERR_BAD_ARGUMENT: return "Invalid argument";
        case ZL_ERR_OPEN_FAILED: return "Cannot open connection";
        case ZL_ERR_TIMEOUT: return "No reply from controller";
        case ZL_ERR_LINK_LOST: return "Connection lost";
        case ZL_ERR_SEND_FAILED: return "Cannot send to controller";
        case ZL_ERR_BAD_REPLY: return "Bad reply from controller";
        case ZL_ERR_BAUD_RATE: return "Baud rate not supported";
        case ZL_ERR_NOT_SUPPORTED: return "Operation not supported";
        case ZL_ERR_FILE: return "File error";
        case ZL_ERR_NO_ADAPTER: return "No such network adapter";
        case ZL_ERR_UNKNOWN_REQUEST: return "Unknown request";
        case ZL_ERR_ILLEGAL_REGISTER: return "Illegal register";
        case ZL_ERR_BAD_VALUE: return "Illegal value";
        case ZL_ERR_BAD_PACKET: return "Bad packet";
        case ZL_ERR_NO_DATA_TABLE: return "No data table";
        case ZL_ERR_BAD_TABLE_ROW: return "Illegal data table row or column";
        case ZL_ERR_PROGRAM_REJECTED: return "Program rejected";
        case ZL_ERR_TRANSFER_STATE: return "Program transfer out of sequence";
        case ZL_ERR_NOT_PRESENT: return "Resource not present";
        default: return "Controller error " + std::to_string(code);
    }
}

}  // namespace zel::codec
