#pragma once

// The timetable's round trip with the appliance, as every schedule command makes it: fetch what
// the IO schedule window shows, send the whole timetable back, report the answer.

#include "cli/Registry.h"
#include "link/LinkEvent.h"

#include <cstdint>

namespace qvctl {

// The product record's schedule limit, as the window holds it.
int32_t limitOf(const qv::LinkEvent& summary);

// Logs on and fetches the product summary (for the schedule limit, into `summary` when given),
// the IO device list when `withDevices`, and the whole timetable into the session's store.
int fetchTimetable(CommandContext& context, qv::LinkEvent* summary, bool withDevices);

// Sends the store's whole timetable and reports the appliance's answer.
int sendTimetable(CommandContext& context);

} // namespace qvctl
