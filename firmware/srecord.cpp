#include "firmware/srecord.h"

#include <cstdio>

namespace zel::firmware {

namespace {

// Address bytes of each type, 0 for a type that is not used.
int addressBytes(char type) {
    switch (type) {
        case '0':
        case '1':
        case '5':
        case '9':
            return 2;
        case '2':
        case '6':
        case '8':
            return 3;
        case '3':
        case '7':
            return 4;
        default:
            return 0;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string hexByte(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFFu);
    return text;
}

}  // namespace

bool isSRecord(std::string_view line) {
    return line.size() >= 2 && line[0] == 'S' && line[1] >= '0' && line[1] <= '9';
}

std::string sRecordFault(std::string_view line) {
    const int address = addressBytes(line[1]);
    if (address == 0) return "record type S" + std::string(1, line[1]) + " is not used";
    for (size_t i = 2; i < line.size(); ++i)
        if (hexDigit(line[i]) < 0)
            return "the record holds \"" + std::string(1, line[i]) +
                   "\", which is not a hexadecimal digit";
    if (line.size() < 4) return "the record is cut short before its byte count";
    const int count = hexDigit(line[2]) * 16 + hexDigit(line[3]);
    if (count < address + 1)
        return "the byte count " + hexByte(static_cast<unsigned>(count)) +
               " leaves no room for the address and checksum";
    const size_t held = (line.size() - 4) / 2;
    const std::string counts =
        "the byte count says " + std::to_string(count) + " bytes, the record holds " +
        ((line.size() % 2) ? std::to_string(held) + " and a half" : std::to_string(held));
    if (line.size() < 4 + 2 * static_cast<size_t>(count))
        return "the record is cut short: " + counts;
    if (line.size() > 4 + 2 * static_cast<size_t>(count)) return "the record runs on: " + counts;
    unsigned sum = static_cast<unsigned>(count);
    for (int i = 0; i < count - 1; ++i)
        sum += static_cast<unsigned>(hexDigit(line[4 + 2 * i]) * 16 + hexDigit(line[5 + 2 * i]));
    const unsigned expected = ~sum & 0xFFu;
    const auto stored = static_cast<unsigned>(hexDigit(line[line.size() - 2]) * 16 +
                                              hexDigit(line[line.size() - 1]));
    if (stored != expected)
        return "the checksum is " + hexByte(stored) + ", the bytes give " + hexByte(expected);
    return {};
}

std::string makeSRecord(char type, unsigned address, std::string_view data) {
    const int width = addressBytes(type);
    const auto count = static_cast<unsigned>(width) + static_cast<unsigned>(data.size()) + 1;
    // Built by appending: g++ 12 at -O3 takes a literal put before a string for an overlapping
    // copy (-Wrestrict).
    std::string line{'S', type};
    line += hexByte(count);
    unsigned sum = count;
    for (int i = width - 1; i >= 0; --i) {
        const unsigned b = (address >> (8 * i)) & 0xFFu;
        line += hexByte(b);
        sum += b;
    }
    for (const char c : data) {
        line += hexByte(static_cast<unsigned char>(c));
        sum += static_cast<unsigned char>(c);
    }
    return line + hexByte(~sum);
}

}  // namespace zel::firmware
