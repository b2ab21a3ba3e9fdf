/*
 * zelcom.h - the controller communication library.
 *
 * Every call returns a 32-bit signed result. The open calls return a connection handle: above 0
 * is usable, 0 is a failure. Every other call returns 1 on success and 0 on failure, except
 * ZlSendAscii (see there). After a failure, ZlGetErrorInfo tells what went wrong.
 *
 * Handles: only the library makes and frees them. A handle stays valid until ZlCloseConnection;
 * handle numbers are never reused within a process, so a stale handle fails cleanly with
 * ZL_ERR_BAD_HANDLE instead of reaching someone else's connection.
 *
 * Threads: calls on different handles may run at the same time. Calls on one handle are
 * serialised by the library. The error record is kept per thread: it describes the last call
 * made on the calling thread, and a call that succeeds clears it (code 0, "No error").
 * ZlGetErrorInfo itself leaves it as it is.
 *
 * Timeouts: every call that talks to the controller waits at most the connection's timeout
 * (ZlSetConnectionTimeout; for TCP the value given to ZlOpenNetConnection) for its reply, and
 * never retries. A timeout of 0 or less means the library default, 1000 ms.
 *
 * Text is 8-bit (Latin-1); text arguments are NUL-terminated unless a length is given.
 */
#ifndef ZELCOM_H
#define ZELCOM_H

#include <stdint.h>

#if defined(ZELCOM_BUILDING)
#define ZL_API __attribute__((visibility("default")))
#else
#define ZL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Connection kinds for ZlOpenConnection / ZlOpenNetConnection. */
enum {
    ZL_KIND_SERIAL = 1, /* param1: port number n (device $ZELCOM_COMM<n>, else /dev/ttyS<n-1>) */
    ZL_KIND_ZELNET = 2, /* param1: own node, param2: controller node (1..32767) */
    ZL_KIND_UDP = 3,    /* param1: 0, param2: IPv4 address, network byte order */
    ZL_KIND_TCP = 4     /* ZlOpenNetConnection only */
};

/* Error codes of the error record. The texts are listed in docs/protocol.md. Codes below 200
 * are found by the library itself; codes from 200 on are reported by the controller. */
enum {
    ZL_OK = 0,
    ZL_ERR_BAD_HANDLE = 101,
    ZL_ERR_BAD_ARGUMENT = 102,
    ZL_ERR_OPEN_FAILED = 103,
    ZL_ERR_TIMEOUT = 104,
    ZL_ERR_LINK_LOST = 105,
    ZL_ERR_SEND_FAILED = 106,
    ZL_ERR_BAD_REPLY = 107,
    ZL_ERR_BAUD_RATE = 108,
    ZL_ERR_NOT_SUPPORTED = 109,
    ZL_ERR_FILE = 110,
    ZL_ERR_NO_ADAPTER = 111,
    ZL_ERR_UNKNOWN_REQUEST = 201,
    ZL_ERR_ILLEGAL_REGISTER = 202,
    ZL_ERR_BAD_VALUE = 203,
    ZL_ERR_BAD_PACKET = 204,
    ZL_ERR_NO_DATA_TABLE = 205,
    ZL_ERR_BAD_TABLE_ROW = 206,
    ZL_ERR_PROGRAM_REJECTED = 207,
    ZL_ERR_TRANSFER_STATE = 208,
    ZL_ERR_NOT_PRESENT = 216
};

#define ZL_ERROR_TEXT_LENGTH 255

/* Filled by ZlGetErrorInfo: the code, then exactly 255 characters of text, padded with blanks
 * and not NUL-terminated. */
typedef struct ZlErrorInfo {
    int32_t code;
    char text[ZL_ERROR_TEXT_LENGTH];
} ZlErrorInfo;

/* Non-volatile register record for ZlGetVRegister / ZlSetVRegister. The caller sets number,
 * kind (16) and format (6), clears the reserved fields and, for a write, value. */
typedef struct ZlVRegister {
    int32_t number;
    int32_t kind;
    int32_t format;
    int32_t reserved[8];
    double value;
    uint8_t buffer[224];
} ZlVRegister;

/* Four values filled by ZlDownload / ZlUpload: the controller's program checksum, the number of
 * bytes moved, and the errors and warnings the controller found in the program. */
typedef struct ZlTransferResult {
    int32_t checksum;
    int32_t bytes;
    int32_t errors;
    int32_t warnings;
} ZlTransferResult;

/* One bank of eight tasks for ZlGetTaskBank. steps[] are 1-based step numbers, 65536 for a task
 * that is not executing; the key words are bit sets of the tasks each task started (bit n of
 * low_keys is task n + 1, bit n of high_keys task n + 33). */
typedef struct ZlTaskBank {
    int32_t stopped;
    int32_t fault_code;
    int32_t fault_step;
    int32_t fault_datum;
    int32_t steps[8];
    int32_t low_keys[8];
    int32_t high_keys[8];
} ZlTaskBank;

#define ZL_MAX_ADAPTERS 50
#define ZL_SEND_DATA_REPLY_SIZE 512
#define ZL_SEND_ASCII_REPLY_SIZE 4096

/* --- Opening and closing ------------------------------------------------------------------- */

/* Serial, ZelNET or UDP (see ZL_KIND_*). Returns a handle, or 0. A serial line is opened raw
 * and must be set up with ZlInitConnection before use. */
ZL_API int32_t ZlOpenConnection(int32_t kind, int32_t param1, int32_t param2);
/* TCP: kind 4, reserved 0, IPv4 address in network byte order; *timeout_ms bounds the connect
 * and becomes the connection's timeout. The port is $ZELCOM_TCP_PORT, else the default. */
ZL_API int32_t ZlOpenNetConnection(int32_t kind, int32_t reserved, int32_t address,
                                   int32_t* timeout_ms);
/* Serial lines: baud rate, parity (0 none), data bits (8), stop-bit code (0 one stop bit). A
 * rate the line cannot take fails with ZL_ERR_BAUD_RATE. On other kinds it succeeds. */
ZL_API int32_t ZlInitConnection(int32_t handle, int32_t baud, int32_t parity, int32_t data_bits,
                                int32_t stop_bits);
ZL_API int32_t ZlSetConnectionTimeout(int32_t handle, int32_t timeout_ms);
ZL_API int32_t ZlCloseConnection(int32_t handle);

/* Lists this machine's IPv4 interfaces for ZelNET (at most 50): addresses and netmasks, network
 * byte order; *count receives the number found. ZlSetAdapter picks the one that later ZelNET
 * connections of this process use, by its position in that list (1 for the first; 0 means the
 * first as well). A position beyond the list fails, and stays chosen: ZelNET opens then fail
 * with ZL_ERR_NO_ADAPTER until another adapter is picked. */
ZL_API int32_t ZlGetAvailableAdaptersIPList(int32_t* addresses, int32_t* netmasks, int32_t* count);
ZL_API int32_t ZlSetAdapter(int32_t index);

/* The last failure of the calling thread; the handle may be 0. Returns 1, or 0 without a
 * record to fill. */
ZL_API int32_t ZlGetErrorInfo(int32_t handle, ZlErrorInfo* info);

/* --- Registers, flags and words ------------------------------------------------------------ */

ZL_API int32_t ZlGetRegister(int32_t handle, int32_t number, int32_t* value);
ZL_API int32_t ZlPutRegister(int32_t handle, int32_t number, int32_t value);
/* Registers first .. first + 15 into values[16]. */
ZL_API int32_t ZlGetRegister16(int32_t handle, int32_t first, int32_t* values);
/* Block b (1..20): registers 50 (b - 1) + 1 .. 50 b into values[50]. */
ZL_API int32_t ZlGetRegister50(int32_t handle, int32_t block, int32_t* values);
ZL_API int32_t ZlGetVRegister(int32_t handle, ZlVRegister* record);
ZL_API int32_t ZlSetVRegister(int32_t handle, ZlVRegister* record);
/* Flag n (1..256) set when value is non-zero. */
ZL_API int32_t ZlPutFlag(int32_t handle, int32_t flag, int16_t value);

ZL_API int32_t ZlGetStatus(int32_t handle, int32_t* status);
/* A written status word is a command: bit 3 resets the program (the controller then stops with
 * bits 0 and 3 set), otherwise bit 0 starts it, otherwise it stops. */
ZL_API int32_t ZlPutStatus(int32_t handle, int32_t status);
ZL_API int32_t ZlGetModel(int32_t handle, int32_t* model, int32_t* second);
ZL_API int32_t ZlGetConfig(int32_t handle, int32_t* config);
ZL_API int32_t ZlPutConfig(int32_t handle, int32_t config);
/* counts[7]: flags, digital inputs, digital outputs, steppers, servos, analog inputs, analog
 * outputs. */
ZL_API int32_t ZlGetIoCount(int32_t handle, int32_t* counts);
/* counts[4]: prototype boards, high-speed counters, thumbwheels, displays. */
ZL_API int32_t ZlGetMiscIoCount(int32_t handle, int32_t* counts);
/* Bank 1..16 (tasks 8 (bank - 1) .. + 7); 65..80 name the same banks on controllers with 64
 * tasks or more. */
ZL_API int32_t ZlGetTaskBank(int32_t handle, int32_t bank, ZlTaskBank* buffer);

/* --- Data table ---------------------------------------------------------------------------- */

ZL_API int32_t ZlGetDataTableDim(int32_t handle, int32_t* rows, int32_t* columns);
/* Row (1-based), columns first..last (1-based) into buffer[last - first + 1], each 0..65535. */
ZL_API int32_t ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                                 int32_t* buffer);
ZL_API int32_t ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                                 const int16_t* buffer);

/* --- Programs and raw packets -------------------------------------------------------------- */

/* Sends the program object file at path to the controller / writes the controller's program to
 * path. result is filled on success (ZlUpload fills checksum and bytes). */
ZL_API int32_t ZlDownload(int32_t handle, const char* path, ZlTransferResult* result);
ZL_API int32_t ZlUpload(int32_t handle, const char* path, ZlTransferResult* result);

/* Sends one raw controller packet of length bytes (kind 20) and copies the controller's raw
 * reply, at most 512 bytes, into reply. */
ZL_API int32_t ZlSendData(int32_t handle, int32_t kind, const char* request, int16_t length,
                          char* reply);
/* The boot loader's raw exchange, on serial links only (others fail with ZL_ERR_NOT_SUPPORTED):
 * sends length bytes of text as they are (0: only receives) and collects the reply up to and
 * including end_byte within the connection's timeout. reply must hold ZL_SEND_ASCII_REPLY_SIZE
 * bytes; it receives the reply and a NUL. Returns the number of reply bytes, 0 on failure.
 * Bytes that arrive after the end byte are kept for the next ZlSendAscii; any framed call
 * throws them away. */
ZL_API int32_t ZlSendAscii(int32_t handle, const char* text, int32_t length, char* reply,
                           int32_t end_byte);

#ifdef __cplusplus
}
#endif

#endif /* ZELCOM_H */
