// The keyring through libsecret: the Secret Service of the desktop session (GNOME Keyring,
// KWallet), reached over the session's D-Bus. libsecret (and GIO, which it brings) is loaded
// the first time a password is stored, looked up or cleared: a window or qvctl run that never
// touches a saved password does not map or start it. Without the library there is no keyring,
// as without a session bus.
#include "core/appliances/Keyring.h"

#include "link/Wipe.h"

#include <dlfcn.h>
#include <libsecret/secret.h>

#include <string>

namespace qv::appliances {
namespace {

// The calls this file makes, found in the loaded library with the types its header gives them.
struct Secret {
    decltype(&secret_password_store_sync) store = nullptr;
    decltype(&secret_password_lookup_sync) lookup = nullptr;
    decltype(&secret_password_clear_sync) clear = nullptr;
    decltype(&secret_password_free) free = nullptr;
    decltype(&secret_error_get_quark) errorDomain = nullptr;
    decltype(&g_error_free) freeError = nullptr;
    std::string missing; // why the library could not be used; empty when it can
};

template <typename Function> void resolve(void* library, const char* name, Function& into) {
    into = reinterpret_cast<Function>(dlsym(library, name));
}

Secret load() {
    Secret secret;
    void* library = dlopen("libsecret-1.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = dlerror();
        secret.missing = why != nullptr ? why : "libsecret-1.so.0 could not be loaded";
        return secret;
    }
    // Kept loaded for the rest of the process: GLib's types cannot be unloaded.
    resolve(library, "secret_password_store_sync", secret.store);
    resolve(library, "secret_password_lookup_sync", secret.lookup);
    resolve(library, "secret_password_clear_sync", secret.clear);
    resolve(library, "secret_password_free", secret.free);
    resolve(library, "secret_error_get_quark", secret.errorDomain);
    resolve(library, "g_error_free", secret.freeError);
    if (!secret.store || !secret.lookup || !secret.clear || !secret.free || !secret.errorDomain ||
        !secret.freeError)
        secret.missing = "libsecret-1.so.0 lacks the password calls";
    return secret;
}

// Loaded once, by the first caller; the keyring calls run on worker threads as well.
const Secret& secretLibrary() {
    static const Secret loaded = load();
    return loaded;
}

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
KeyringResult fromError(const Secret& secret, GError* error) {
    KeyringResult result;
    result.status =
        error->domain == secret.errorDomain() ? KeyringStatus::Failed : KeyringStatus::Unavailable;
    result.detail = error->message != nullptr ? error->message : "";
    secret.freeError(error);
    return result;
}

// Runs one call to the keyring, `call(secret, error)`: without the library there is no keyring;
// an error the call reports decides the result over what the call returned.
template <typename Call> KeyringResult withSecret(const Call& call) {
    const Secret& secret = secretLibrary();
    if (!secret.missing.empty())
        return KeyringResult{KeyringStatus::Unavailable, secret.missing};
    GError* error = nullptr;
    KeyringResult result = call(secret, error);
    return error != nullptr ? fromError(secret, error) : result;
}

} // namespace

KeyringResult storePassword(std::string_view name, std::string_view address,
                            std::string_view password) {
    const std::string n(name);
    const std::string a(address);
    const std::string label = "QVSetting: " + n + " (" + a + ")";
    // libsecret takes the password as a C string: the copy made for it is wiped afterwards.
    WipedText typed;
    typed.text.assign(password);
    return withSecret([&](const Secret& secret, GError*& error) {
        const gboolean stored =
            secret.store(schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), typed.text.c_str(),
                         nullptr, &error, "name", n.c_str(), "address", a.c_str(), nullptr);
        return KeyringResult{stored ? KeyringStatus::Ok : KeyringStatus::Failed, {}};
    });
}

KeyringResult lookupPassword(std::string_view name, std::string_view address,
                             std::string& password) {
    password.clear();
    const std::string n(name);
    const std::string a(address);
    return withSecret([&](const Secret& secret, GError*& error) {
        gchar* found = secret.lookup(schema(), nullptr, &error, "name", n.c_str(), "address",
                                     a.c_str(), nullptr);
        if (found == nullptr)
            return KeyringResult{KeyringStatus::NotFound, {}};
        password = found;
        // Wiped as it is freed, so the password does not linger in freed memory.
        secret.free(found);
        return KeyringResult{KeyringStatus::Ok, {}};
    });
}

KeyringResult clearPassword(std::string_view name, std::string_view address) {
    const std::string n(name);
    const std::string a(address);
    return withSecret([&](const Secret& secret, GError*& error) {
        const gboolean removed = secret.clear(schema(), nullptr, &error, "name", n.c_str(),
                                              "address", a.c_str(), nullptr);
        return KeyringResult{removed ? KeyringStatus::Ok : KeyringStatus::NotFound, {}};
    });
}

} // namespace qv::appliances
