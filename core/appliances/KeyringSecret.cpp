// The keyring through libsecret: the Secret Service of the desktop session (GNOME Keyring,
// KWallet), reached over the session's D-Bus.
#include "core/appliances/Keyring.h"

#include <libsecret/secret.h>

#include <string>

namespace qv::appliances {
namespace {

const SecretSchema* schema() {
    static const SecretSchema appliance = {
        "com.quorvel.QVSetting.Appliance",
        SECRET_SCHEMA_NONE,
        {
            {"name", SECRET_SCHEMA_ATTRIBUTE_STRING},
            {"address", SECRET_SCHEMA_ATTRIBUTE_STRING},
            {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
        },
        0,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
    };
    return &appliance;
}

// A fault of the keyring itself (locked, refused) is a failure; one on the way to it (no
// session bus, no service answering) means there is no keyring here.
KeyringResult fromError(GError* error) {
    KeyringResult result;
    result.status =
        error->domain == SECRET_ERROR ? KeyringStatus::Failed : KeyringStatus::Unavailable;
    result.detail = error->message != nullptr ? error->message : "";
    g_error_free(error);
    return result;
}

} // namespace

KeyringResult storePassword(std::string_view name, std::string_view address,
                            std::string_view password) {
    const std::string n(name);
    const std::string a(address);
    const std::string secret(password);
    const std::string label = "QVSetting: " + n + " (" + a + ")";
    GError* error = nullptr;
    const gboolean stored = secret_password_store_sync(
        schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), secret.c_str(), nullptr, &error, "name",
        n.c_str(), "address", a.c_str(), nullptr);
    if (error != nullptr)
        return fromError(error);
    return KeyringResult{stored ? KeyringStatus::Ok : KeyringStatus::Failed, {}};
}

KeyringResult lookupPassword(std::string_view name, std::string_view address,
                             std::string& password) {
    password.clear();
    const std::string n(name);
    const std::string a(address);
    GError* error = nullptr;
    gchar* found = secret_password_lookup_sync(schema(), nullptr, &error, "name", n.c_str(),
                                               "address", a.c_str(), nullptr);
    if (error != nullptr)
        return fromError(error);
    if (found == nullptr)
        return KeyringResult{KeyringStatus::NotFound, {}};
    password = found;
    // Wiped as it is freed, so the password does not linger in freed memory.
    secret_password_free(found);
    return KeyringResult{KeyringStatus::Ok, {}};
}

KeyringResult clearPassword(std::string_view name, std::string_view address) {
    const std::string n(name);
    const std::string a(address);
    GError* error = nullptr;
    const gboolean removed = secret_password_clear_sync(schema(), nullptr, &error, "name",
                                                        n.c_str(), "address", a.c_str(), nullptr);
    if (error != nullptr)
        return fromError(error);
    return KeyringResult{removed ? KeyringStatus::Ok : KeyringStatus::NotFound, {}};
}

} // namespace qv::appliances
