#include "sim/SimHandler.h"

#include "link/ApplianceLimits.h"
#include "link/Catalogue.h"
#include "link/Commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <optional>

namespace qv::sim {
namespace {

template <class Record> Frame replyWith(Command cmd, int32_t value, const Record& record) {
    return replyFrame(cmd, value, record.data(), record.size());
}

template <class Record> void copyInto(Record& record, const std::vector<uint8_t>& payload) {
    std::copy_n(payload.begin(), std::min(payload.size(), record.size()), record.data());
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isAlnumText(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return c < 0x80 && std::isalnum(c) != 0;
    });
}

// "00:1a:2b:3c:4d:5e" or "00-1A-2B-3C-4D-5E" in lower case with colons; empty when the text is
// not a MAC address.
std::string normalMac(const std::string& text) {
    if (text.size() != 17)
        return {};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i % 3 == 2) {
            if (c != ':' && c != '-')
                return {};
            out += ':';
        } else {
            if (std::isxdigit(static_cast<unsigned char>(c)) == 0)
                return {};
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

std::string macTextOf(const NetworkConfigRecord& record) {
    const auto mac = record.mac();
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

template <class Table> constexpr int32_t slotsOf() {
    return static_cast<int32_t>(Table::kSlots);
}

int32_t clampedMaxSchedules(const NetworkConfigRecord& record) {
    return limits::scheduleLimit(record.maxScheduleCount());
}

// The request's name in the log; "?" for a code the catalogue does not know.
std::string_view requestName(Command cmd) {
    const RequestRule* rule = findRequestRule(cmd);
    return rule != nullptr ? rule->name : std::string_view("?");
}

// A fixed-width text ends with a NUL inside its field and the client zero-fills the rest. Bytes
// after the end mean the frame is not what the client wrote (line noise, a foreign sender).
bool endsCleanly(const uint8_t* field, size_t width) {
    const uint8_t* end = std::find(field, field + width, 0);
    return end != field + width &&
           std::all_of(end, field + width, [](uint8_t b) { return b == 0; });
}

bool textsEndCleanly(const TextRequestPayload& text) {
    return endsCleanly(text.data() + TextRequestPayload::kFirstOffset,
                       TextRequestPayload::kFirstWidth) &&
           endsCleanly(text.data() + TextRequestPayload::kSecondOffset,
                       TextRequestPayload::kSecondWidth);
}

// The failure a text request other than the logon answers a malformed one with; none for
// requests without texts.
std::optional<int32_t> textRefusal(Command cmd) {
    switch (cmd) {
    case CMD_SET_ADMIN_MSG:
    case CMD_SET_NTP_MSG:
        return failure::kChange;
    case CMD_CHECK_DDNS_MSG:
        return failure::kDdnsCheck;
    case CMD_REG_MAC_MSG:
        return failure::kRegistration;
    default:
        return std::nullopt;
    }
}

std::string counted(int32_t count, const char* what) {
    return std::to_string(count) + " " + what;
}

// A table write: the count must fit the table (and the appliance's own limit); the payload, when
// the frame carries one, replaces the table's bytes whole.
template <class Table>
void writeTable(Outcome& out, const Frame& request, int32_t limit, int32_t& count, Table& table,
                const char* what) {
    if (request.dwCount < 0 || request.dwCount > limit) {
        out.replies.push_back(replyFrame(request.cmd, failure::kChange));
        out.log += ": refused, " + counted(request.dwCount, what) + " (limit " +
                   std::to_string(limit) + ")";
        return;
    }
    count = request.dwCount;
    if (!request.payload.empty())
        copyInto(table, request.payload);
    out.stateChanged = true;
    out.replies.push_back(replyFrame(request.cmd, result::kSuccess));
    out.log += ": stored " + counted(count, what);
}

void checkDdns(Outcome& out, const SimState& state, const Frame& request) {
    TextRequestPayload text;
    copyInto(text, request.payload);
    const std::string id = text.firstText();
    const std::string mac = normalMac(text.secondText());
    int32_t value = result::kSuccess;
    if (!isAlnumText(id))
        value = failure::kDdnsCheck;
    else if (ddnsIdTakenElsewhere(id) && lower(id) != lower(state.record.ddnsId()))
        value = result::kDdnsIdTaken;
    else if (!mac.empty() && macTakenElsewhere(mac))
        value = result::kDdnsMacTaken;
    out.replies.push_back(replyFrame(request.cmd, value));
    out.log += " \"" + id + "\": " + std::to_string(value);
}

void registerMac(Outcome& out, SimState& state, const Frame& request) {
    TextRequestPayload text;
    copyInto(text, request.payload);
    const std::string mac = normalMac(text.firstText());
    int32_t value = result::kSuccess;
    if (mac.empty())
        value = failure::kRegistration;
    else if (macTakenElsewhere(mac))
        value = result::kMacAlreadyRegistered;
    else if (mac != macTextOf(state.record))
        value = failure::kRegistration; // not this appliance's address
    else if (state.macRegistered)
        value = result::kMacAlreadyRegistered;
    else {
        state.macRegistered = true;
        out.stateChanged = true;
    }
    out.replies.push_back(replyFrame(request.cmd, value));
    out.log += " \"" + text.firstText() + "\": " + std::to_string(value);
}

void registerDdns(Outcome& out, SimState& state, const Frame& request) {
    NetworkConfigRecord wanted;
    copyInto(wanted, request.payload);
    const std::string id = wanted.ddnsId();
    const std::string mac = normalMac(wanted.macText());
    int32_t value = result::kSuccess;
    if (!state.macRegistered)
        value = result::kProductNotRegistered;
    else if (!mac.empty() && macTakenElsewhere(mac))
        value = result::kMacRegisteredElsewhere;
    else if (mac != macTextOf(state.record) || !isAlnumText(id))
        value = failure::kRegistration;
    else if (ddnsIdTakenElsewhere(id) && lower(id) != lower(state.record.ddnsId()))
        value = result::kDdnsIdOccupied;
    else {
        state.record.setDdnsId(id);
        state.record.setEmail(wanted.email());
        // The company's bytes are kept as sent (UTF-8 by agreement, not checked here).
        std::copy_n(wanted.data() + 90, 32, state.record.data() + 90);
        out.stateChanged = true;
    }
    out.replies.push_back(replyFrame(request.cmd, value));
    out.log += " \"" + id + "\": " + std::to_string(value);
}

void saveNetwork(Outcome& out, SimState& state, const Frame& request) {
    NetworkConfigRecord sent;
    copyInto(sent, request.payload);
    NetworkConfigRecord& r = state.record;
    // Only the fields the network page sets are taken; a port of 0 falls back to its default.
    r.setLinkPort(sent.linkPort() != 0 ? sent.linkPort() : 12301);
    r.setDataPort(sent.dataPort() != 0 ? sent.dataPort() : 12302);
    r.setWebPort(sent.webPort() != 0 ? sent.webPort() : 80);
    r.setIpAddress(sent.ipAddress());
    r.setGateway(sent.gateway());
    r.setNetMask(sent.netMask());
    r.setDhcp(sent.dhcp() == 1 ? 1 : 0);
    r.setUpnp(sent.upnp());
    out.stateChanged = true;
    out.after = LinkAfter::Reboot;
    const auto ip = r.ipAddress();
    out.log += ": " + std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." +
               std::to_string(ip[2]) + "." + std::to_string(ip[3]) +
               (r.dhcp() == 1 ? " (DHCP)" : "") + ", rebooting";
}

void uploadLogo(Outcome& out, Frame& request) {
    static const std::array<const char*, 3> names{kUploadFiles[0], kUploadFiles[1],
                                                  kUploadFiles[2]};
    if (request.payload.empty()) {
        for (const char* name : names)
            out.files.push_back(FileChange{name, {}, true});
        out.replies.push_back(replyFrame(request.cmd, result::kLogoDeleted));
        out.log += ": logo deleted";
        return;
    }
    // The last byte is the image type: '1' GIF, '2' JPEG, '3' SWF.
    const uint8_t type = request.payload.back();
    const size_t kept = (type >= '1' && type <= '3') ? static_cast<size_t>(type - '1') : 0;
    for (size_t i = 0; i < names.size(); ++i)
        if (i != kept)
            out.files.push_back(FileChange{names[i], {}, true});
    request.payload.pop_back();
    out.log += ": " + std::to_string(request.payload.size()) + " bytes as " + names[kept];
    out.files.push_back(FileChange{names[kept], std::move(request.payload), false});
    out.replies.push_back(replyFrame(request.cmd, result::kLogoUploaded));
}

void storeUpload(Outcome& out, Frame& request, const char* name) {
    out.log += ": " + std::to_string(request.payload.size()) + " bytes as " + name;
    out.files.push_back(FileChange{name, std::move(request.payload), false});
    out.replies.push_back(replyFrame(request.cmd, kUnusedValue));
}

void startUpdate(Outcome& out, const HandlerContext& context) {
    if (context.updateServerUnreachable) {
        // The first step starts, and then the update server cannot be reached.
        out.later.push_back({std::chrono::milliseconds(0), replyFrame(CMD_SET_UPDATE_MSG, 0)});
        out.later.push_back(
            {context.updateStep, replyFrame(CMD_SET_UPDATE_MSG, result::kUpdateServerUnreachable)});
        out.log += ": update server unreachable";
        return;
    }
    // Every step the appliance reaches, then the report that all are done.
    for (int32_t step = 0; step <= result::kUpdateFinished; ++step)
        out.later.push_back({context.updateStep * step, replyFrame(CMD_SET_UPDATE_MSG, step)});
    out.log += ": " + std::to_string(result::kUpdateFinished + 1) + " reports";
}

} // namespace

Frame replyFrame(Command cmd, int32_t value, const uint8_t* payload, size_t length) {
    Frame frame{cmd, value, {}, true};
    const ReplyRule* rule = findReplyRule(cmd);
    if (rule == nullptr)
        return frame;
    frame.scrambled = rule->scrambled;
    size_t size = 0;
    switch (rule->payload) {
    case PayloadRule::None:
    case PayloadRule::RawLength:
        break;
    case PayloadRule::Always:
        size = rule->size;
        break;
    case PayloadRule::WhenPositive:
        size = value > 0 ? rule->size : 0;
        break;
    case PayloadRule::PerEntry:
        size = value > 0 ? static_cast<size_t>(value) * rule->size : 0;
        break;
    }
    frame.payload.assign(size, 0);
    if (payload != nullptr)
        std::copy_n(payload, std::min(size, length), frame.payload.begin());
    return frame;
}

std::optional<Frame> refusalOf(Command cmd) {
    switch (cmd) {
    case CMD_SET_NETWORK_MSG:
        return std::nullopt;
    case CMD_REG_MAC_MSG:
    case CMD_REG_DDNS_MSG:
        return replyFrame(cmd, failure::kRegistration);
    default:
        return replyFrame(cmd, failure::kChange);
    }
}

bool ddnsIdTakenElsewhere(const std::string& ddnsId) {
    static const std::array<const char*, 6> taken{"demo",   "test",  "quorvel",
                                                  "office", "admin", "myserver"};
    const std::string id = lower(ddnsId);
    return std::any_of(taken.begin(), taken.end(), [&](const char* t) { return id == t; });
}

bool macTakenElsewhere(const std::string& macText) {
    static const std::array<const char*, 2> taken{"00:1a:2b:00:00:01", "00:1a:2b:00:00:02"};
    const std::string mac = normalMac(macText);
    return std::any_of(taken.begin(), taken.end(), [&](const char* t) { return mac == t; });
}

Outcome handleRequest(SimState& state, Session& session, Frame request,
                      const HandlerContext& context) {
    Outcome out;
    out.log = std::string(requestName(request.cmd)) + " (" +
              std::to_string(static_cast<int>(request.cmd)) + ")";

    if (request.cmd == CMD_LOGIN_MSG) {
        TextRequestPayload text;
        copyInto(text, request.payload);
        session.loggedOn = textsEndCleanly(text) && text.firstText() == state.adminId &&
                           text.secondText() == state.adminPassword;
        const int32_t value =
            session.loggedOn ? result::kLogonLimitOffset + state.maxCenterIds : failure::kLogon;
        out.replies.push_back(replyFrame(CMD_LOGIN_MSG, value));
        // The password is never logged.
        out.log += " as \"" + text.firstText() +
                   "\": " + (session.loggedOn ? "accepted" : "refused") + " (" +
                   std::to_string(value) + ")";
        return out;
    }
    if (!session.loggedOn) {
        out.log += ": ignored, not logged on";
        return out;
    }
    if (const auto refusal = textRefusal(request.cmd)) {
        TextRequestPayload text;
        copyInto(text, request.payload);
        if (!textsEndCleanly(text)) {
            out.replies.push_back(replyFrame(request.cmd, *refusal));
            out.log += ": refused, bytes after the end of a text";
            return out;
        }
    }

    switch (request.cmd) {
    case CMD_GET_INFO_MSG:
    case CMD_GET_NETWORK_MSG:
        out.replies.push_back(replyWith(request.cmd, kUnusedValue, state.record));
        break;
    case CMD_SET_ADMIN_MSG: {
        TextRequestPayload text;
        copyInto(text, request.payload);
        if (text.firstText().empty() || text.secondText().empty()) {
            out.replies.push_back(replyFrame(request.cmd, failure::kChange));
            out.log += ": refused, empty ID or password";
            break;
        }
        state.adminId = text.firstText();
        state.adminPassword = text.secondText();
        out.stateChanged = true;
        out.replies.push_back(replyFrame(request.cmd, result::kSuccess));
        out.log += ": new ID \"" + state.adminId + "\"";
        break;
    }
    case CMD_GET_CENTERID_MSG:
        out.replies.push_back(replyWith(request.cmd, state.centerIdCount, state.centerIds));
        out.log += ": " + counted(state.centerIdCount, "entries");
        break;
    case CMD_SET_CENTERID_MSG:
        writeTable(out, request, std::min(state.maxCenterIds, slotsOf<CenterIdTable>()),
                   state.centerIdCount, state.centerIds, "entries");
        break;
    case CMD_GET_WOL_MSG:
        out.replies.push_back(replyWith(request.cmd, state.wolCount, state.wol));
        out.log += ": " + counted(state.wolCount, "entries");
        break;
    case CMD_SET_WOL_MSG:
        writeTable(out, request, slotsOf<WolTable>(), state.wolCount, state.wol, "entries");
        break;
    case CMD_SET_NETWORK_MSG:
        saveNetwork(out, state, request);
        break;
    case CMD_CHECK_DDNS_MSG:
        checkDdns(out, state, request);
        break;
    case CMD_REG_MAC_MSG:
        registerMac(out, state, request);
        break;
    case CMD_REG_DDNS_MSG:
        registerDdns(out, state, request);
        break;
    case CMD_SET_UPDATE_MSG:
        startUpdate(out, context);
        break;
    case CMD_SET_LOGO_MSG:
        uploadLogo(out, request);
        break;
    case CMD_SET_AXPAGE_MSG:
        storeUpload(out, request, kUploadFiles[3]);
        break;
    case CMD_SET_WEBPAGE_MSG:
        storeUpload(out, request, kUploadFiles[4]);
        break;
    case CMD_GET_AUTOUPDATE_MSG:
        out.replies.push_back(replyFrame(request.cmd, state.autoUpdate));
        out.log += ": " + std::string(state.autoUpdate == result::kAutoUpdateOff ? "off" : "on");
        break;
    case CMD_SET_AUTOUPDATE_MSG:
        state.autoUpdate = request.dwCount == result::kAutoUpdateOff ? result::kAutoUpdateOff
                                                                     : result::kAutoUpdateOn;
        out.stateChanged = true;
        out.replies.push_back(replyFrame(request.cmd, result::kSuccess));
        out.log += ": " + std::string(state.autoUpdate == result::kAutoUpdateOff ? "off" : "on");
        break;
    case CMD_SET_REBOOT_MSG:
        out.replies.push_back(replyFrame(request.cmd, result::kRebootAccepted));
        out.after = LinkAfter::Reboot;
        out.log += ": rebooting";
        break;
    case CMD_SET_FIRMWARE_MSG:
        if (context.updateServerUnreachable) {
            out.replies.push_back(replyFrame(request.cmd, result::kUpdateServerUnreachable));
            out.log += ": update server unreachable";
        } else {
            out.replies.push_back(replyFrame(request.cmd, result::kFirmwareUpdateFinished));
            out.after = LinkAfter::Reboot;
            out.log += ": finished, rebooting";
        }
        break;
    case CMD_GET_IOLIST_MSG:
        out.replies.push_back(replyWith(request.cmd, state.ioCount, state.ioList));
        out.log += ": " + counted(state.ioCount, "devices");
        break;
    case CMD_GET_SCHEDULE_MSG:
        out.replies.push_back(replyWith(request.cmd, state.scheduleCount, state.schedule));
        out.log += ": " + counted(state.scheduleCount, "schedules");
        break;
    case CMD_SET_SCHEDULE_MSG:
        writeTable(out, request, clampedMaxSchedules(state.record), state.scheduleCount,
                   state.schedule, "schedules");
        break;
    case CMD_GET_TIME_MSG:
        out.replies.push_back(replyFrame(request.cmd, static_cast<int32_t>(context.now)));
        out.log += ": " + std::to_string(static_cast<int32_t>(context.now));
        break;
    case CMD_SET_NTP_MSG: {
        TextRequestPayload text;
        copyInto(text, request.payload);
        state.record.setNtpServer(text.firstText());
        out.stateChanged = true;
        out.replies.push_back(replyFrame(request.cmd, result::kSuccess));
        out.log += ": \"" + text.firstText() + "\"";
        break;
    }
    case CMD_GET_BLACKLIST_MSG:
        out.replies.push_back(replyFrame(request.cmd, state.blacklistCount, state.blacklist.data(),
                                         state.blacklist.size()));
        out.log += ": " + counted(state.blacklistCount, "entries");
        break;
    case CMD_GET_BLOCKIP_MSG:
        out.replies.push_back(replyWith(request.cmd, state.blockIpCount, state.blockIps));
        out.log += ": " + counted(state.blockIpCount, "entries");
        break;
    case CMD_SET_BLOCKIP_MSG:
        writeTable(out, request, slotsOf<BlockIpTable>(), state.blockIpCount, state.blockIps,
                   "entries");
        break;
    case CMD_CLEAR_BLACKLIST_MSG:
        state.blacklistCount = 0;
        state.blacklist = BlacklistEntries{};
        out.stateChanged = true;
        out.replies.push_back(replyFrame(request.cmd, result::kSuccess));
        out.log += ": cleared";
        break;
    default:
        out.log += ": not served";
        break;
    }
    return out;
}

} // namespace qv::sim
