// Copying fetched status data into the decoded record, from either fetch path.
#pragma once

#include "status/status_packet.h"
#include "status/status_record.h"
#include "link/link_records.h"

namespace zel::status {

// One packet group of eight tasks from group.offset; offset 0 also copies the header and the
// task total. A task's key is kept while its state is non-zero and cleared when it is 0.
void BuildStatusData2(StatusRecord& record, const StatusHeader& header, const TaskGroup& group);

// One task bank (1..8, tasks 8 (bank - 1) ..); bank 1 also copies the header.
void BuildStatusData(StatusRecord& record, const TaskBank& contents, int32_t bank);

}  // namespace zel::status
