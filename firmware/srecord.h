// One S-record line: "S", the type digit, the byte count, then that many bytes in hexadecimal
// (address, data, checksum); the checksum is the ones' complement of the low byte of the sum
// of the count, address and data bytes.
#pragma once

#include <string>
#include <string_view>

namespace zel::firmware {

// "S" followed by a digit: a line meant as a record (marker lines are anything else).
bool isSRecord(std::string_view line);

// What is wrong with the record, "" when it is sound.
std::string sRecordFault(std::string_view line);

// The record of `type` with `address` (as wide as the type's) and `data`, checksum included.
std::string makeSRecord(char type, unsigned address, std::string_view data);

}  // namespace zel::firmware
