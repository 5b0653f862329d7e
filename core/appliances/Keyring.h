#pragma once

#include "res/Message.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv::appliances {

// The passwords of the address book live in the desktop's keyring, never in a file of ours:
// the Secret Service (GNOME Keyring, KWallet) on Linux, the Credential Manager on Windows. A
// password is filed under the appliance's name and address, so that an appliance that moves or
// is renamed is not given another's password.
enum class KeyringStatus {
    Ok,
    NotFound,    // the keyring holds no password for the appliance
    Unavailable, // there is no keyring to ask (no session bus, no service): type the password
    Failed,      // the keyring is there but refused (locked, the prompt dismissed, an error)
};

struct KeyringResult {
    KeyringStatus status = KeyringStatus::Failed;
    std::string detail; // the keyring's own words when it was not Ok or NotFound

    bool ok() const { return status == KeyringStatus::Ok; }
    // What to tell the administrator when it was Unavailable or Failed; nothing otherwise.
    std::optional<Message> message() const;
};

KeyringResult storePassword(std::string_view name, std::string_view address,
                            std::string_view password);
// `password` receives the password when Ok, and is emptied otherwise.
KeyringResult lookupPassword(std::string_view name, std::string_view address,
                             std::string& password);
// Ok when a password was removed, NotFound when there was none.
KeyringResult clearPassword(std::string_view name, std::string_view address);
// Files the saved password of an appliance that was renamed or moved under its new name and
// address, so that the edit does not lose it. The old entry goes only once the new one is kept;
// NotFound when none was saved.
KeyringResult movePassword(std::string_view oldName, std::string_view oldAddress,
                           std::string_view newName, std::string_view newAddress);

} // namespace qv::appliances
