// Moving a program object file into and out of the controller in numbered chunks.
#pragma once

#include <string>

#include "connection.h"
#include "zelcom.h"

namespace zel::com {

Status downloadProgram(Connection& connection, const std::string& path, ZlTransferResult& result);
// The file appears only once the whole program has arrived and its checksum matches.
Status uploadProgram(Connection& connection, const std::string& path, ZlTransferResult& result);

}  // namespace zel::com
