#pragma once

// Every record of the conversation, byte-exact.
#include "link/AccessTables.h"
#include "link/CenterIdTable.h"
#include "link/NetworkConfigRecord.h"
#include "link/ScheduleTables.h"
#include "link/TextRequestPayload.h"
#include "link/WolTable.h"

namespace qv {

static_assert(TextRequestPayload::kSize == 100);
static_assert(NetworkConfigRecord::kSize == 316);
static_assert(CenterIdTable::kSize == 13130);
static_assert(WolTable::kSize == 10100);
static_assert(BlockIpTable::kSize == 10100);
static_assert(BlacklistEntries::kSize == 106496);
static_assert(IoListTable::kSize == 45056);
static_assert(ScheduleTable::kSize == 90112);

} // namespace qv
