// Program object files: the 8 bytes "ZELDSO1\n" followed by the program as JSON text.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "program.h"

namespace zel::sim {

class DsoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<uint8_t> encodeDso(const Program& program);
// Throws DsoError when the bytes are not a program object file.
Program decodeDso(std::span<const uint8_t> bytes);
// Writes the file; throws DsoError naming the file when it cannot.
void writeDsoFile(const std::string& path, const Program& program);

}  // namespace zel::sim
