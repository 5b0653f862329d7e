// The keyring against a real one (on Linux a private GNOME Keyring, started around this program
// by with-secret-service.sh; on Windows the Credential Manager), and without one.

#include "core/appliances/Keyring.h"

#include <gtest/gtest.h>

namespace qv::appliances {
namespace {

TEST(Keyring, KeepsOnePasswordPerNameAndAddress) {
    struct Entry {
        const char* name;
        const char* address;
        const char* password;
    };
    const Entry entries[] = {
        {"Seoul HQ", "10.0.0.1:12300", "first"},
        {"Seoul HQ", "10.0.0.2:12300", "second"},
        {"Busan", "10.0.0.1:12300", "비밀번호 ünï"},
    };
    for (const Entry& e : entries) {
        const KeyringResult stored = storePassword(e.name, e.address, e.password);
        ASSERT_TRUE(stored.ok()) << stored.detail;
    }
    for (const Entry& e : entries) {
        std::string password = "stale";
        EXPECT_TRUE(lookupPassword(e.name, e.address, password).ok()) << e.name;
        EXPECT_EQ(password, e.password);
    }
    // Storing again replaces; clearing removes only its own.
    ASSERT_TRUE(storePassword("Seoul HQ", "10.0.0.1:12300", "replaced").ok());
    std::string password;
    EXPECT_TRUE(lookupPassword("Seoul HQ", "10.0.0.1:12300", password).ok());
    EXPECT_EQ(password, "replaced");
    EXPECT_EQ(clearPassword("Seoul HQ", "10.0.0.1:12300").status, KeyringStatus::Ok);
    EXPECT_EQ(clearPassword("Seoul HQ", "10.0.0.1:12300").status, KeyringStatus::NotFound);
    password = "stale";
    EXPECT_EQ(lookupPassword("Seoul HQ", "10.0.0.1:12300", password).status,
              KeyringStatus::NotFound);
    EXPECT_EQ(password, "");
    EXPECT_TRUE(lookupPassword("Seoul HQ", "10.0.0.2:12300", password).ok());
    EXPECT_EQ(password, "second");
    EXPECT_EQ(lookupPassword("Daegu", "10.0.0.1:12300", password).status, KeyringStatus::NotFound);
    EXPECT_FALSE((KeyringResult{KeyringStatus::NotFound, {}}.message()));

    // A renamed appliance keeps its password under the new name, and only there.
    ASSERT_TRUE(movePassword("Busan", "10.0.0.1:12300", "Busan 2", "10.0.0.9:12300").ok());
    EXPECT_TRUE(lookupPassword("Busan 2", "10.0.0.9:12300", password).ok());
    EXPECT_EQ(password, "비밀번호 ünï");
    EXPECT_EQ(lookupPassword("Busan", "10.0.0.1:12300", password).status, KeyringStatus::NotFound);
    EXPECT_EQ(movePassword("Busan", "10.0.0.1:12300", "x", "h:1").status, KeyringStatus::NotFound);
    // Nothing is left behind in a keyring that outlives the test (the Credential Manager).
    EXPECT_TRUE(clearPassword("Seoul HQ", "10.0.0.2:12300").ok());
    EXPECT_TRUE(clearPassword("Busan 2", "10.0.0.9:12300").ok());
}

TEST(KeyringWithoutService, SaysTheKeyringIsUnavailable) {
    const KeyringResult stored = storePassword("Seoul HQ", "10.0.0.1:12300", "pw");
    EXPECT_EQ(stored.status, KeyringStatus::Unavailable) << stored.detail;
    ASSERT_TRUE(stored.message());
    EXPECT_EQ(stored.message()->id, StringId::KeyringUnavailable);
    std::string password = "stale";
    EXPECT_EQ(lookupPassword("Seoul HQ", "10.0.0.1:12300", password).status,
              KeyringStatus::Unavailable);
    EXPECT_EQ(password, "");
    EXPECT_EQ(clearPassword("Seoul HQ", "10.0.0.1:12300").status, KeyringStatus::Unavailable);
}

} // namespace
} // namespace qv::appliances
