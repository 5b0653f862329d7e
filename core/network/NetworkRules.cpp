#include "core/network/NetworkRules.h"

#include "link/CodePage.h"
#include "link/Commands.h"
#include "res/Message.h"

#include <algorithm>
#include <charconv>

namespace qv::network {
namespace {

// A marker the caller gives no value for is left empty.
std::string message(StringId id, Language language, std::string_view first = {},
                    std::string_view second = {}, std::string_view third = {}) {
    return format(uiString(id, language), {first, second, third});
}

bool inSubnet(const Ipv4& host, const Ipv4& network, const Ipv4& mask) {
    for (size_t i = 0; i < 4; ++i)
        if ((host[i] & mask[i]) != (network[i] & mask[i]))
            return false;
    return true;
}

uint32_t toNumber(const Ipv4& a) {
    return (uint32_t{a[0]} << 24) | (uint32_t{a[1]} << 16) | (uint32_t{a[2]} << 8) | a[3];
}

std::string onOff(bool on, Language language) {
    return std::string(uiString(on ? StringId::SwitchedOn : StringId::SwitchedOff, language));
}

// A typed text in the form its field travels in: the ANSI code page unless `utf8` is set. The
// field is never written past: a text that does not fit is refused, not cut.
std::optional<Refusal> toWire(std::string_view typed, StringId field, size_t limit, int codePage,
                              std::string& out, bool utf8 = false) {
    bool ok = true;
    out = utf8 ? std::string(typed) : utf8ToAnsi(typed, codePage, &ok);
    if (utf8)
        ok = isUtf8(typed);
    if (!ok || out.find('\0') != std::string::npos)
        return Refusal{StringId::NetworkTextNotConvertible, field, 0};
    if (out.size() > limit)
        return Refusal{StringId::NetworkTextTooLong, field, limit};
    return std::nullopt;
}

std::optional<Refusal> forbiddenIn(std::initializer_list<std::string_view> texts) {
    for (std::string_view text : texts)
        if (const std::optional<StringId> id = forbiddenCharacter(text))
            return Refusal{*id, {}, 0};
    return std::nullopt;
}

std::optional<Refusal> macToWire(const DdnsInput& input, int codePage, DdnsWire& wire) {
    return toWire(input.macText, StringId::NetworkLabelMac, kMaxMacTextBytes, codePage,
                  wire.macText);
}

std::optional<Refusal> idToWire(const DdnsInput& input, int codePage, DdnsWire& wire) {
    return toWire(input.ddnsId, StringId::NetworkLabelDdns, kMaxDdnsIdBytes, codePage, wire.ddnsId);
}

// Static addressing, in the page's order: every address typed in full, then the address, the
// net mask and the gateway each one the appliance can live with.
std::optional<Refusal> checkStaticAddresses(const SettingsInput& input) {
    const std::pair<const std::optional<Ipv4>&, StringId> typed[] = {
        {input.address, StringId::NetworkLabelAddress},
        {input.netMask, StringId::NetworkLabelNetMask},
        {input.gateway, StringId::NetworkLabelGateway},
    };
    for (const auto& [address, field] : typed)
        if (!address)
            return Refusal{StringId::NetworkAddressIncomplete, field, 0};
    if (auto refusal = checkHostAddress(StringId::NetworkLabelAddress, *input.address, Ipv4{}))
        return refusal;
    if (auto refusal = checkNetMask(*input.netMask))
        return refusal;
    if (auto refusal =
            checkHostAddress(StringId::NetworkLabelAddress, *input.address, *input.netMask))
        return refusal;
    // No gateway is a choice (an isolated network), which the preview warns about.
    if (*input.gateway == Ipv4{})
        return std::nullopt;
    const Ipv4 gatewayMask =
        inSubnet(*input.gateway, *input.address, *input.netMask) ? *input.netMask : Ipv4{};
    return checkHostAddress(StringId::NetworkLabelGateway, *input.gateway, gatewayMask);
}

} // namespace

std::string refusalText(const Refusal& refusal, Language language) {
    std::vector<std::string> args{refusal.field ? std::string(uiString(*refusal.field, language))
                                                : std::string()};
    args.insert(args.end(), refusal.message.args.begin(), refusal.message.args.end());
    // A place the refusal has no value for is left empty.
    args.resize(std::max<size_t>(args.size(), 3));
    return format(uiString(refusal.message.id, language), args);
}

Settings settingsFromRecord(const NetworkConfigRecord& record) {
    Settings s;
    s.dhcp = record.dhcp() == 1;
    if (!s.dhcp) {
        s.address = record.ipAddress();
        s.netMask = record.netMask();
        s.gateway = record.gateway();
    }
    s.linkPort = record.linkPort();
    s.dataPort = record.dataPort();
    s.webPort = record.webPort();
    s.upnp = record.upnp();
    return s;
}

std::optional<uint16_t> portFromText(std::string_view text, uint16_t defaultPort) {
    uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint32_t>(c - '0');
        if (value > 65535)
            return std::nullopt;
    }
    return value == 0 ? defaultPort : static_cast<uint16_t>(value);
}

std::optional<Refusal> checkHostAddress(StringId field, const Ipv4& address, const Ipv4& netMask) {
    const auto refuse = [&](StringId message, std::string against = {}) {
        return Refusal{message, field, 0, dottedText(address), std::move(against)};
    };
    if (address[0] == 0)
        return refuse(StringId::NetworkAddressNone);
    if (address == Ipv4{255, 255, 255, 255})
        return refuse(StringId::NetworkAddressBroadcast);
    if (address[0] >= 224 && address[0] <= 239)
        return refuse(StringId::NetworkAddressMulticast);
    if (address[0] >= 240)
        return refuse(StringId::NetworkAddressReserved);
    // In a subnet of four addresses or more, the first names the subnet and the last is its
    // broadcast; a /31 (a point-to-point link) has no such addresses.
    const uint32_t mask = toNumber(netMask);
    const uint32_t host = toNumber(address) & ~mask;
    if (mask != 0 && (~mask) >= 3 && (host == 0 || host == ~mask))
        return refuse(StringId::NetworkAddressSubnetEdge, dottedText(netMask));
    return std::nullopt;
}

std::optional<Refusal> checkNetMask(const Ipv4& netMask) {
    const auto refuse = [&](StringId message) {
        return Refusal{message, StringId::NetworkLabelNetMask, 0, dottedText(netMask), {}};
    };
    const uint32_t mask = toNumber(netMask);
    if (mask == 0)
        return refuse(StringId::NetworkMaskZero);
    // Ones then zeros: the zeros, plus one, are a power of two.
    const uint32_t zeros = ~mask;
    if ((zeros & (zeros + 1)) != 0)
        return refuse(StringId::NetworkMaskNotContiguous);
    if (zeros == 0)
        return refuse(StringId::NetworkMaskAllOnes);
    return std::nullopt;
}

SettingsVerdict checkSettings(const SettingsInput& input) {
    SettingsVerdict verdict;
    Settings& s = verdict.settings;
    s.address = input.address.value_or(Ipv4{});
    s.netMask = input.netMask.value_or(Ipv4{});
    s.gateway = input.gateway.value_or(Ipv4{});
    s.dhcp = input.dhcp;
    s.upnp = input.upnp;
    if (!input.dhcp) {
        verdict.refusal = checkStaticAddresses(input);
        if (verdict.refusal)
            return verdict;
    }
    const struct {
        const std::string& text;
        uint16_t defaultPort;
        StringId label;
        uint16_t& port;
    } ports[] = {
        {input.linkPort, kDefaultLinkPort, StringId::NetworkLabelLinkPort, s.linkPort},
        {input.dataPort, kDefaultDataPort, StringId::NetworkLabelDataPort, s.dataPort},
        {input.webPort, kDefaultWebPort, StringId::NetworkLabelWebPort, s.webPort},
    };
    for (const auto& port : ports) {
        const std::optional<uint16_t> value = portFromText(port.text, port.defaultPort);
        if (!value) {
            verdict.refusal = Refusal{StringId::PortTooLarge, port.label, 0};
            return verdict;
        }
        port.port = *value;
    }
    return verdict;
}

NetworkConfigRecord saveRecord(const Settings& settings) {
    NetworkConfigRecord record;
    record.setLinkPort(settings.linkPort);
    record.setDataPort(settings.dataPort);
    record.setWebPort(settings.webPort);
    record.setIpAddress(settings.address);
    record.setGateway(settings.gateway);
    record.setNetMask(settings.netMask);
    record.setDhcp(settings.dhcp ? 1 : 0);
    record.setUpnp(settings.upnp);
    return record;
}

std::string dottedText(const Ipv4& a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

std::optional<Ipv4> parseDotted(std::string_view text) {
    Ipv4 out{};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (size_t i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at == end || *at != '.')
                return std::nullopt;
            ++at;
        }
        unsigned value = 0;
        const char* start = at;
        const auto [next, ec] = std::from_chars(at, end, value);
        if (ec != std::errc{} || next == start || next - start > 3 || value > 255)
            return std::nullopt;
        out[i] = static_cast<uint8_t>(value);
        at = next;
    }
    if (at != end)
        return std::nullopt;
    return out;
}

std::optional<LinkView> linkViewOf(const std::optional<Endpoints>& ends) {
    if (!ends)
        return std::nullopt;
    return LinkView{ends->peer, ends->own};
}

ChangePreview previewChange(const Settings& before, const Settings& after,
                            const Ipv4& recordAddress, const std::optional<LinkView>& link,
                            Language language) {
    ChangePreview preview;
    const auto address = [&](StringId label, const Ipv4& a, const Ipv4& b) {
        if (a != b)
            preview.rows.push_back({label, dottedText(a), dottedText(b)});
    };
    const auto number = [&](StringId label, uint16_t a, uint16_t b) {
        if (a != b)
            preview.rows.push_back({label, std::to_string(a), std::to_string(b)});
    };
    const auto flag = [&](StringId label, bool a, bool b) {
        if (a != b)
            preview.rows.push_back({label, onOff(a, language), onOff(b, language)});
    };
    address(StringId::NetworkLabelAddress, before.address, after.address);
    address(StringId::NetworkLabelNetMask, before.netMask, after.netMask);
    address(StringId::NetworkLabelGateway, before.gateway, after.gateway);
    flag(StringId::Dhcp, before.dhcp, after.dhcp);
    number(StringId::NetworkLabelLinkPort, before.linkPort, after.linkPort);
    number(StringId::NetworkLabelDataPort, before.dataPort, after.dataPort);
    number(StringId::NetworkLabelWebPort, before.webPort, after.webPort);
    flag(StringId::Upnp, before.upnp, after.upnp);
    if (preview.unchanged())
        return preview;

    if (after.dhcp) {
        if (!before.dhcp)
            preview.warnings.push_back(Warning::AddressByDhcp);
        return preview;
    }
    if (link) {
        // Connected straight to the appliance, its new address is where to log on next; through
        // a forwarded address, the path stays unless the appliance's own address moves under it.
        const bool direct = link->applianceAddress == recordAddress;
        if (after.address != link->applianceAddress &&
            (direct || after.address != before.address)) {
            preview.warnings.push_back(Warning::AddressMoves);
            if (direct)
                preview.nextAddress = after.address;
        }
        // Only a computer that was in the appliance's subnet can be taken out of it.
        const bool wasInside =
            before.dhcp || inSubnet(link->ownAddress, before.address, before.netMask);
        if (wasInside && !inSubnet(link->ownAddress, after.address, after.netMask))
            preview.warnings.push_back(Warning::OutsideSubnet);
    }
    if (after.gateway == Ipv4{})
        preview.warnings.push_back(Warning::NoGateway);
    return preview;
}

std::vector<std::string> previewLines(const ChangePreview& preview, const Settings& after,
                                      const std::optional<LinkView>& link, Language language) {
    std::vector<std::string> lines;
    if (preview.unchanged()) {
        lines.push_back(message(StringId::NetworkUnchanged, language));
        return lines;
    }
    lines.push_back(message(StringId::NetworkChangeHeading, language));
    for (const ChangeRow& row : preview.rows)
        lines.push_back(message(StringId::NetworkChangeRow, language, uiString(row.label, language),
                                row.before, row.after));
    for (const Warning warning : preview.warnings) {
        switch (warning) {
        case Warning::AddressMoves:
            lines.push_back(message(StringId::NetworkWarnAddressMoves, language,
                                    link ? dottedText(link->applianceAddress) : std::string(),
                                    dottedText(after.address)));
            break;
        case Warning::OutsideSubnet:
            lines.push_back(message(StringId::NetworkWarnOutsideSubnet, language,
                                    link ? dottedText(link->ownAddress) : std::string(),
                                    dottedText(after.address), dottedText(after.netMask)));
            break;
        case Warning::AddressByDhcp:
            lines.push_back(message(StringId::NetworkWarnDhcp, language));
            break;
        case Warning::NoGateway:
            lines.push_back(message(StringId::NetworkWarnNoGateway, language,
                                    dottedText(after.address), dottedText(after.netMask)));
            break;
        }
    }
    return lines;
}

std::optional<StringId> forbiddenCharacter(std::string_view text) {
    if (text.find(';') != std::string_view::npos)
        return StringId::ForbiddenSemicolon;
    if (text.find_first_of("'/|") != std::string_view::npos)
        return StringId::ForbiddenQuote;
    return std::nullopt;
}

bool lettersAndDigitsOnly(std::string_view text) {
    for (const char c : text)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

std::optional<Refusal> checkDdnsCheck(const DdnsInput& input, int codePage, DdnsWire& wire) {
    if (input.ddnsId.empty())
        return Refusal{StringId::DdnsInputId, {}, 0};
    if (auto refusal = forbiddenIn({input.macText, input.ddnsId}))
        return refusal;
    if (!lettersAndDigitsOnly(input.ddnsId))
        return Refusal{StringId::DdnsLettersAndDigitsOnly, {}, 0};
    if (auto refusal = macToWire(input, codePage, wire))
        return refusal;
    return idToWire(input, codePage, wire);
}

std::optional<Refusal> checkMacRegistration(const DdnsInput& input, int codePage, DdnsWire& wire) {
    if (input.macText.empty())
        return Refusal{StringId::CheckConnection, {}, 0};
    if (auto refusal = forbiddenIn({input.macText}))
        return refusal;
    return macToWire(input, codePage, wire);
}

std::optional<Refusal> checkDdnsRegistration(const DdnsInput& input, int codePage, DdnsWire& wire) {
    if (input.macText.empty())
        return Refusal{StringId::CheckConnection, {}, 0};
    if (auto refusal = forbiddenIn({input.macText, input.ddnsId, input.email, input.company}))
        return refusal;
    if (!lettersAndDigitsOnly(input.ddnsId))
        return Refusal{StringId::DdnsLettersAndDigitsOnly, {}, 0};
    if (auto refusal = macToWire(input, codePage, wire))
        return refusal;
    if (auto refusal = idToWire(input, codePage, wire))
        return refusal;
    if (auto refusal =
            toWire(input.email, StringId::NetworkLabelEmail, kMaxEmailBytes, codePage, wire.email))
        return refusal;
    return toWire(input.company, StringId::NetworkLabelCompany, kMaxCompanyBytes, codePage,
                  wire.companyUtf8, true);
}

std::optional<Refusal> checkNtpServer(std::string_view addressUtf8, int codePage,
                                      std::string& wire) {
    return toWire(addressUtf8, StringId::NetworkLabelNtpAddress, kMaxNtpServerBytes, codePage,
                  wire);
}

NetworkConfigRecord ddnsRegistrationRecord(const DdnsWire& wire) {
    NetworkConfigRecord record;
    record.setDdnsId(wire.ddnsId);
    record.setMacText(wire.macText);
    record.setCompanyUtf8(wire.companyUtf8);
    record.setEmail(wire.email);
    return record;
}

StringId ddnsCheckAnswer(int32_t value) {
    switch (value) {
    case result::kSuccess:
        return StringId::DdnsIdAvailable;
    case result::kDdnsIdTaken:
        return StringId::DdnsIdInUse;
    case result::kDdnsMacTaken:
        return StringId::DdnsMacInUse;
    default:
        return StringId::DdnsCheckFailed;
    }
}

StringId macRegistrationAnswer(int32_t value) {
    switch (value) {
    case result::kSuccess:
        return StringId::ProductRegistered;
    case result::kMacAlreadyRegistered:
        return StringId::ProductAlreadyRegistered;
    default:
        return StringId::ProductRegistrationFailed;
    }
}

StringId ddnsRegistrationAnswer(int32_t value) {
    switch (value) {
    case result::kSuccess:
        return StringId::DdnsRegistered;
    case result::kProductNotRegistered:
        return StringId::DdnsProductNotRegistered;
    case result::kDdnsIdOccupied:
        return StringId::DdnsIdTaken;
    case result::kMacRegisteredElsewhere:
        return StringId::DdnsMacAlreadyRegistered;
    default:
        return StringId::DdnsRegistrationFailed;
    }
}

} // namespace qv::network
