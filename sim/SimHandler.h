#pragma once

#include "link/Frame.h"
#include "sim/SimState.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::sim {

// What one connection remembers: only whether the administrator has logged on on it.
struct Session {
    bool loggedOn = false;
};

// What the handler needs from the world, passed in so that it stays a pure function.
struct HandlerContext {
    int64_t now = 0;                            // the appliance's clock, seconds since 1970 UTC
    std::chrono::milliseconds updateStep{1500}; // time between two software update reports
    bool updateServerUnreachable = false;       // --update-unreachable
};

// A reply sent some time after the request (the steps of a software update).
struct TimedReply {
    std::chrono::milliseconds delay; // from the moment the request was handled
    Frame frame;
};

// What happens to the link after the replies went out.
enum class LinkAfter {
    KeepOpen,
    Reboot, // close the link and refuse connections for the reboot pause
};

// The files uploads are kept as: the logo as GIF, JPEG or SWF, the ActiveX page, the web archive.
constexpr std::array<const char*, 5> kUploadFiles{"logo.gif", "logo.jpg", "logo.swf", "index.html",
                                                  "webpage.zip"};

// A file the appliance keeps in its upload folder: written, or removed when `remove` is set.
struct FileChange {
    std::string name;
    std::vector<uint8_t> contents;
    bool remove = false;
};

struct Outcome {
    std::vector<Frame> replies;    // sent at once, in order
    std::vector<TimedReply> later; // sent after their delays, unless the link has gone
    LinkAfter after = LinkAfter::KeepOpen;
    bool stateChanged = false;     // the state file is to be written
    std::vector<FileChange> files; // uploads to store
    std::string log;               // one line describing what was served
};

// Serves one request: reads and changes `state` and returns the replies and actions. Before a
// successful logon on `session` only logon is served; other requests are answered with nothing.
// The request is taken whole so that an uploaded file moves into its FileChange without a copy.
Outcome handleRequest(SimState& state, Session& session, Frame request,
                      const HandlerContext& context);

// The reply frame for `cmd` with `value`, its payload sized and scrambled as the client's reply
// catalogue expects (missing bytes are zero, surplus bytes dropped).
Frame replyFrame(Command cmd, int32_t value, const uint8_t* payload = nullptr, size_t length = 0);

// The answer that refuses a change `cmd` asked for when the appliance could not keep it (its
// state file could not be written); none for Save & Reboot, which is never answered.
std::optional<Frame> refusalOf(Command cmd);

// Values this appliance answers with where the client only knows "anything else": a failed
// request of its own kind.
namespace failure {
constexpr int32_t kDdnsCheck = 104;    // a DDNS ID that is no ID at all
constexpr int32_t kRegistration = 500; // a MAC address or DDNS ID that is not this appliance's
constexpr int32_t kLogon = 0;          // wrong administrator ID or password
constexpr int32_t kChange = 0;         // a write beyond a limit, an empty administrator ID
} // namespace failure

// DDNS IDs and MAC addresses that other appliances already hold in the vendor's registry.
bool ddnsIdTakenElsewhere(const std::string& ddnsId);
bool macTakenElsewhere(const std::string& macText);

} // namespace qv::sim
