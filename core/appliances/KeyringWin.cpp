// The keyring on Windows: the user's Credential Manager, one generic credential per appliance,
// named after the appliance's name and address.
#include "core/appliances/Keyring.h"

// wincred.h needs the types of windows.h first.
#include <windows.h>

#include <wincred.h>

#include <string>
#include <vector>

namespace qv::appliances {
namespace {

std::wstring wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), length);
    return out;
}

std::wstring targetName(std::string_view name, std::string_view address) {
    return wide("com.quorvel.QVSetting.Appliance/" + std::string(name) + "/" +
                std::string(address));
}

KeyringResult fromLastError() {
    const DWORD code = GetLastError();
    KeyringResult result;
    result.status = code == ERROR_NOT_FOUND               ? KeyringStatus::NotFound
                    : code == ERROR_NO_SUCH_LOGON_SESSION ? KeyringStatus::Unavailable
                                                          : KeyringStatus::Failed;
    if (result.status != KeyringStatus::NotFound)
        result.detail = "Windows error " + std::to_string(code);
    return result;
}

} // namespace

KeyringResult storePassword(std::string_view name, std::string_view address,
                            std::string_view password) {
    std::wstring target = targetName(name, address);
    std::wstring user = wide(name);
    std::vector<BYTE> blob(password.begin(), password.end());
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = target.data();
    credential.UserName = user.data();
    credential.CredentialBlobSize = static_cast<DWORD>(blob.size());
    credential.CredentialBlob = blob.empty() ? nullptr : blob.data();
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    const BOOL written = CredWriteW(&credential, 0);
    SecureZeroMemory(blob.data(), blob.size());
    if (!written)
        return fromLastError();
    return KeyringResult{KeyringStatus::Ok, {}};
}

KeyringResult lookupPassword(std::string_view name, std::string_view address,
                             std::string& password) {
    password.clear();
    const std::wstring target = targetName(name, address);
    PCREDENTIALW credential = nullptr;
    if (!CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, &credential))
        return fromLastError();
    password.assign(reinterpret_cast<const char*>(credential->CredentialBlob),
                    credential->CredentialBlobSize);
    SecureZeroMemory(credential->CredentialBlob, credential->CredentialBlobSize);
    CredFree(credential);
    return KeyringResult{KeyringStatus::Ok, {}};
}

KeyringResult clearPassword(std::string_view name, std::string_view address) {
    const std::wstring target = targetName(name, address);
    if (!CredDeleteW(target.c_str(), CRED_TYPE_GENERIC, 0))
        return fromLastError();
    return KeyringResult{KeyringStatus::Ok, {}};
}

} // namespace qv::appliances
