#include "core/appliances/Keyring.h"

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

} // namespace qv::appliances
