#pragma once

// Every record of the conversation, byte-exact.
#include "AccessTables.h"
#include "CenterIdTable.h"
#include "NetworkConfigRecord.h"
#include "ScheduleTables.h"
#include "TextRequestPayload.h"
#include "WolTable.h"

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
