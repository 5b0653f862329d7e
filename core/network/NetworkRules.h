#pragma once

// The network and DDNS rules: how the configuration record reads on the page, what Save & Reboot
// sends, the checks on the texts that go to the vendor's DDNS service, and the preview of a
// network change with the ways it can cut the administrator off. Shared by the network page and
// qvctl, so both refuse the same input with the same message. No Qt here.

#include "link/NetworkConfigRecord.h"
#include "link/SocketIo.h"
#include "res/Message.h"
#include "res/StringIds.h"
#include "res/StringTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::network {

using Ipv4 = std::array<uint8_t, 4>;

// The appliance's service ports and what an empty or zero port text stands for.
inline constexpr uint16_t kDefaultLinkPort = 12301;
inline constexpr uint16_t kDefaultDataPort = 12302;
inline constexpr uint16_t kDefaultWebPort = 80;
// The administration port is fixed on the appliance; the page only shows it.
inline constexpr uint16_t kConfigPort = 12300;

// What the record's text fields hold without their terminator. The company counts in UTF-8,
// the other texts in the system's ANSI code page.
inline constexpr size_t kMaxDdnsIdBytes = 31;
inline constexpr size_t kMaxNtpServerBytes = 31;
inline constexpr size_t kMaxCompanyBytes = 31;
inline constexpr size_t kMaxEmailBytes = 64;
inline constexpr size_t kMaxMacTextBytes = 63;

// A refused input: the message with its values and, for the messages about one field, that
// field's label. The label takes the message's first place ("%1") in the language the refusal is
// shown in; the values follow it: the field's byte limit, or for an address the value refused
// and what it was judged against.
struct Refusal {
    Message message;
    std::optional<StringId> field;

    Refusal() = default;
    Refusal(StringId id, std::optional<StringId> field = {}, size_t limit = 0,
            std::string value = {}, std::string against = {})
        : message{id, value.empty()
                          ? std::vector<std::string>{std::to_string(limit)}
                          : std::vector<std::string>{std::move(value), std::move(against)}},
          field(field) {}
    bool operator==(const Refusal&) const = default;
};
// The refusal's text with the field's label and its limit or refused value filled in, in UTF-8.
std::string refusalText(const Refusal& refusal, Language language = systemLanguage());

// The network half of the page as the appliance keeps it.
struct Settings {
    Ipv4 address{};
    Ipv4 netMask{};
    Ipv4 gateway{};
    bool dhcp = false;
    uint16_t linkPort = 0;
    uint16_t dataPort = 0;
    uint16_t webPort = 0;
    bool upnp = false;
    bool operator==(const Settings&) const = default;
};

// The record as the page shows it: a DHCP byte of 1 means DHCP and shows every address as
// 0.0.0.0; any other DHCP byte is static addressing with the record's addresses.
Settings settingsFromRecord(const NetworkConfigRecord& record);

// What the operator entered: the addresses from their controls (nullopt while any of an
// address's four numbers is not typed), the ports as typed.
struct SettingsInput {
    std::optional<Ipv4> address;
    std::optional<Ipv4> netMask;
    std::optional<Ipv4> gateway;
    bool dhcp = false;
    std::string linkPort;
    std::string dataPort;
    std::string webPort;
    bool upnp = false;
};
struct SettingsVerdict {
    std::optional<Refusal> refusal;
    Settings settings;
    bool ok() const { return !refusal; }
};
// A port text is read by its leading digits; no digits, or 0, stands for the port's default.
// A number above 65535 is refused rather than sent as its remainder, which would move the
// service to a port nobody asked for. nullopt for such a number.
std::optional<uint16_t> portFromText(std::string_view text, uint16_t defaultPort);
// Whether the appliance can be reached at `address` as its own static address or as its
// gateway: never at 0.x.x.x, the broadcast address, a multicast or a reserved (240 and above)
// address, nor at the first or last address of its subnet. nullopt when it can.
std::optional<Refusal> checkHostAddress(StringId field, const Ipv4& address, const Ipv4& netMask);
// A net mask the appliance can live with: ones then zeros, neither 0.0.0.0 (every address would
// be its neighbour) nor 255.255.255.255 (none would be, not even its gateway).
std::optional<Refusal> checkNetMask(const Ipv4& netMask);
// Save & Reboot's reading of the input. Static addressing needs the three addresses typed in
// full, an address the appliance can answer at and a sound net mask; the gateway may be 0.0.0.0
// (an isolated network has none), which the preview warns about. Under DHCP the addresses are
// not the appliance's and go as they stand (untyped ones as 0.0.0.0). Then the ports in the
// order link, data, web.
SettingsVerdict checkSettings(const SettingsInput& input);
// Save & Reboot's record: every byte zero except the ports, the three addresses, DHCP (1 or 0)
// and bit 0 of the options (UPNP).
NetworkConfigRecord saveRecord(const Settings& settings);

// "%d.%d.%d.%d".
std::string dottedText(const Ipv4& address);
// Four decimal numbers 0 to 255 separated by dots, nothing else; nullopt otherwise.
std::optional<Ipv4> parseDotted(std::string_view text);

// Where this client's link runs: the appliance's address it connected to and its own.
struct LinkView {
    Ipv4 applianceAddress{};
    Ipv4 ownAddress{};
};
// The link's ends as the preview reads them; nullopt when they are not known (not IPv4).
std::optional<LinkView> linkViewOf(const std::optional<Endpoints>& ends);

// A change that may end this client's link after the reboot.
enum class Warning {
    AddressMoves,  // the appliance will answer at another address than the one in use
    OutsideSubnet, // this computer leaves the appliance's subnet
    AddressByDhcp, // DHCP is switched on: the next address is not known here
    NoGateway,     // gateway 0.0.0.0: the appliance answers only inside its subnet
};

struct ChangeRow {
    StringId label{};
    std::string before;
    std::string after;
    bool operator==(const ChangeRow&) const = default;
};

struct ChangePreview {
    std::vector<ChangeRow> rows; // one per field that differs, in the page's order
    std::vector<Warning> warnings;
    // The address to log on to after the reboot when it is not the one in use now.
    std::optional<Ipv4> nextAddress;
    bool unchanged() const { return rows.empty(); }
};

// Compares the appliance's settings with the new ones. `recordAddress` is the address the
// record holds (also under DHCP, where the page shows 0.0.0.0); `link` is this client's link,
// when there is one. DHCP and UPNP read "on" and "off" in `language`. A static change without a
// gateway (0.0.0.0) is warned about whatever the appliance had before: after the reboot it
// answers no one beyond its subnet.
ChangePreview previewChange(const Settings& before, const Settings& after,
                            const Ipv4& recordAddress, const std::optional<LinkView>& link,
                            Language language = systemLanguage());
// The preview as lines of text: the heading, "label: old -> new" per row, then each warning.
std::vector<std::string> previewLines(const ChangePreview& preview, const Settings& after,
                                      const std::optional<LinkView>& link,
                                      Language language = systemLanguage());

// What the operator typed on the DDNS half of the page, in UTF-8.
struct DdnsInput {
    std::string ddnsId;
    std::string macText;
    std::string email;
    std::string company;
};
// The texts as the requests carry them: DDNS ID, MAC text and e-mail in the ANSI code page,
// the company in UTF-8.
struct DdnsWire {
    std::string ddnsId;
    std::string macText;
    std::string email;
    std::string companyUtf8;
};

// The DDNS service's forbidden characters, tested in this order: ';' has a message of its own;
// '\'', '/' and '|' share one.
std::optional<StringId> forbiddenCharacter(std::string_view text);
// ASCII letters and digits only (an empty text passes).
bool lettersAndDigitsOnly(std::string_view text);

// DDNS Check: ID empty (158), forbidden characters in the MAC text then the ID, ID letters and
// digits only (159), then what the request cannot carry.
std::optional<Refusal> checkDdnsCheck(const DdnsInput& input, int codePage, DdnsWire& wire);
// MAC Reg.: MAC text empty, that is no configuration loaded (160), forbidden characters, then
// what the request cannot carry.
std::optional<Refusal> checkMacRegistration(const DdnsInput& input, int codePage, DdnsWire& wire);
// DDNS Reg.: MAC text empty (160), forbidden characters in MAC text, ID, e-mail and company,
// ID letters and digits only (an empty ID passes and is sent), then what the record cannot
// carry, in the same order of fields.
std::optional<Refusal> checkDdnsRegistration(const DdnsInput& input, int codePage, DdnsWire& wire);
// NTP Server Reg.: any text that fits (an empty one included); no character check.
std::optional<Refusal> checkNtpServer(std::string_view addressUtf8, int codePage,
                                      std::string& wire);
// DDNS Reg.'s record: every byte zero except DDNS ID, MAC text, company and e-mail.
NetworkConfigRecord ddnsRegistrationRecord(const DdnsWire& wire);

// The message for the appliance's answer to DDNS Check, MAC Reg. and DDNS Reg.; 101 is
// success in each.
StringId ddnsCheckAnswer(int32_t value);
StringId macRegistrationAnswer(int32_t value);
StringId ddnsRegistrationAnswer(int32_t value);

} // namespace qv::network
