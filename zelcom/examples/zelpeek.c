/*
 * zelpeek: reads, and optionally writes, one controller register through libzelcom, over any
 * kind of link. A small example of the library's C interface.
 *
 *   zelpeek tcp ADDRESS REGISTER [VALUE]
 *   zelpeek udp ADDRESS REGISTER [VALUE]
 *   zelpeek serial PORT BAUD REGISTER [VALUE]
 *   zelpeek zelnet OWN_NODE NODE REGISTER [VALUE]
 */
#include <arpa/inet.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zelcom.h>

static int fail(const char* what) {
    ZlErrorInfo info;
    ZlGetErrorInfo(0, &info);
    int end = ZL_ERROR_TEXT_LENGTH;
    while (end > 0 && info.text[end - 1] == ' ') --end;
    fprintf(stderr, "zelpeek: %s: error %d: %.*s\n", what, (int)info.code, end, info.text);
    return 1;
}

static int32_t address(const char* text) {
    struct in_addr a;
    if (inet_pton(AF_INET, text, &a) != 1) {
        fprintf(stderr, "zelpeek: %s is not an IPv4 address\n", text);
        exit(2);
    }
    return (int32_t)a.s_addr;
}

static int32_t open_link(int argc, char** argv, int* next) {
    if (argc >= 4 && strcmp(argv[1], "tcp") == 0) {
        int32_t timeout = 1000;
        *next = 3;
        return ZlOpenNetConnection(ZL_KIND_TCP, 0, address(argv[2]), &timeout);
    }
    if (argc >= 4 && strcmp(argv[1], "udp") == 0) {
        *next = 3;
        return ZlOpenConnection(ZL_KIND_UDP, 0, address(argv[2]));
    }
    if (argc >= 5 && strcmp(argv[1], "serial") == 0) {
        *next = 4;
        int32_t h = ZlOpenConnection(ZL_KIND_SERIAL, atoi(argv[2]), 0);
        if (h > 0 && ZlInitConnection(h, atoi(argv[3]), 0, 8, 0) != 1) {
            ZlCloseConnection(h);
            return 0;
        }
        return h;
    }
    if (argc >= 5 && strcmp(argv[1], "zelnet") == 0) {
        *next = 4;
        return ZlOpenConnection(ZL_KIND_ZELNET, atoi(argv[2]), atoi(argv[3]));
    }
    fprintf(stderr,
            "usage: zelpeek tcp|udp ADDRESS REGISTER [VALUE]\n"
            "       zelpeek serial PORT BAUD REGISTER [VALUE]\n"
            "       zelpeek zelnet OWN_NODE NODE REGISTER [VALUE]\n");
    exit(2);
}

int main(int argc, char** argv) {
    int next = 0;
    const int32_t h = open_link(argc, argv, &next);
    if (h <= 0) return fail("cannot open the connection");
    if (next >= argc) return fail("no register given");
    const int32_t reg = atoi(argv[next]);
    int status = 0;
    if (next + 1 < argc && ZlPutRegister(h, reg, atoi(argv[next + 1])) != 1)
        status = fail("write failed");
    int32_t value = 0;
    if (status == 0 && ZlGetRegister(h, reg, &value) != 1)
        status = fail("read failed");
    else if (status == 0)
        printf("register %d = %d\n", (int)reg, (int)value);
    ZlCloseConnection(h);
    return status;
}
