#include "core/appliances/Keyring.h"

#include "link/Wipe.h"

namespace qv::appliances {

std::optional<Message> KeyringResult::message() const {
    switch (status) {
    case KeyringStatus::Unavailable:
        return Message{StringId::KeyringUnavailable, {detail}};
    case KeyringStatus::Failed:
        return Message{StringId::KeyringFailed, {detail}};
    case KeyringStatus::Ok:
    case KeyringStatus::NotFound:
        break;
    }
    return std::nullopt;
}

KeyringResult movePassword(std::string_view oldName, std::string_view oldAddress,
                           std::string_view newName, std::string_view newAddress) {
    std::string password;
    KeyringResult result = lookupPassword(oldName, oldAddress, password);
    if (result.ok() && (oldName != newName || oldAddress != newAddress)) {
        result = storePassword(newName, newAddress, password);
        if (result.ok())
            result = clearPassword(oldName, oldAddress);
    }
    wipe(password);
    return result;
}

} // namespace qv::appliances
