// The address book: the checks of one appliance, the book's edits, its file read strictly and
// written privately, and where it lives.

#include "core/appliances/ApplianceBook.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <tuple>

namespace qv::appliances {
namespace {

Appliance seoul() {
    Appliance a;
    a.name = "Seoul HQ";
    a.address = "relay-01.example.com:12300";
    a.adminId = "admin";
    a.group = "Korea";
    a.codePage = 949;
    a.note = "Rack 3\nsecond line";
    return a;
}

std::optional<StringId> idOf(const std::optional<Message>& message) {
    return message ? std::optional<StringId>(message->id) : std::nullopt;
}

TEST(ApplianceBook, ChecksEveryFieldOfAnAppliance) {
    struct Case {
        const char* what;
        std::function<void(Appliance&)> change;
        std::optional<StringId> refusal;
    };
    const Case cases[] = {
        {"as seeded", [](Appliance&) {}, std::nullopt},
        {"IPv4 address", [](Appliance& a) { a.address = "10.0.0.7:1"; }, std::nullopt},
        {"system code page", [](Appliance& a) { a.codePage = 0; }, std::nullopt},
        {"empty name", [](Appliance& a) { a.name = ""; }, StringId::ApplianceNameEmpty},
        {"name with a trailing space", [](Appliance& a) { a.name = "Seoul "; },
         StringId::ApplianceNameSpaces},
        {"name 65 bytes", [](Appliance& a) { a.name = std::string(65, 'n'); },
         StringId::ApplianceNameTooLong},
        {"name with a control byte", [](Appliance& a) { a.name = "Se\x1boul"; },
         StringId::ApplianceTextNotAllowed},
        {"name not UTF-8", [](Appliance& a) { a.name = "\xbc\xad\xbf\xef"; },
         StringId::ApplianceTextNotAllowed},
        {"no port", [](Appliance& a) { a.address = "relay-01"; },
         StringId::ApplianceAddressInvalid},
        {"port 0", [](Appliance& a) { a.address = "relay:0"; }, StringId::ApplianceAddressInvalid},
        {"host with a space", [](Appliance& a) { a.address = "re lay:12300"; },
         StringId::ApplianceAddressInvalid},
        {"host as an option", [](Appliance& a) { a.address = "-oProxy:12300"; },
         StringId::ApplianceAddressInvalid},
        {"admin ID 32 bytes", [](Appliance& a) { a.adminId = std::string(32, 'i'); },
         StringId::ApplianceAdminIdTooLong},
        {"group 65 bytes", [](Appliance& a) { a.group = std::string(65, 'g'); },
         StringId::ApplianceGroupTooLong},
        {"code page 850", [](Appliance& a) { a.codePage = 850; },
         StringId::ApplianceCodePageUnsupported},
        {"note 1025 bytes", [](Appliance& a) { a.note = std::string(1025, 'x'); },
         StringId::ApplianceNoteTooLong},
        {"note with an escape", [](Appliance& a) { a.note = "\x1b[2J"; },
         StringId::ApplianceTextNotAllowed},
        {"serial with a control byte", [](Appliance& a) { a.lastSeen.serial = "A\x07"; },
         StringId::ApplianceTextNotAllowed},
    };
    for (const Case& c : cases) {
        Appliance a = seoul();
        c.change(a);
        EXPECT_EQ(idOf(checkAppliance(a)), c.refusal) << c.what;
        ApplianceBook book;
        EXPECT_EQ(idOf(book.add(a)), c.refusal) << c.what;
        EXPECT_EQ(book.appliances().size(), c.refusal ? 0u : 1u) << c.what;
    }
}

TEST(ApplianceBook, EditsKeepNamesUniqueAndLeaveTheBookAsItWasOnARefusal) {
    ApplianceBook book;
    ASSERT_FALSE(book.add(seoul()));
    Appliance busan = seoul();
    busan.name = "Busan";
    busan.group = "";
    ASSERT_FALSE(book.add(busan));
    Appliance twin = seoul();
    twin.name = "SEOUL hq";
    EXPECT_EQ(idOf(book.add(twin)), StringId::ApplianceNameTaken);
    ASSERT_NE(book.find("seoul HQ"), nullptr);
    EXPECT_EQ(book.find("seoul HQ")->name, "Seoul HQ");

    const LastSeen seen{"2026-12-10T03:15:00Z", "412", "00-1A-2B-3C-00-01"};
    EXPECT_FALSE(book.recordSeen("busan", seen));
    EXPECT_EQ(idOf(book.recordSeen("Daegu", seen)), StringId::ApplianceNotFound);

    // Renaming onto another appliance is refused; a good edit keeps what was last seen.
    const ApplianceBook before = book;
    Appliance renamed = *book.find("Busan");
    renamed.name = "seoul hq";
    EXPECT_EQ(idOf(book.edit("Busan", renamed)), StringId::ApplianceNameTaken);
    renamed.address = "bad";
    renamed.name = "Busan 2";
    EXPECT_EQ(idOf(book.edit("Busan", renamed)), StringId::ApplianceAddressInvalid);
    EXPECT_EQ(bookText(book), bookText(before));
    renamed.address = "10.1.2.3:12300";
    renamed.lastSeen = {};
    ASSERT_FALSE(book.edit("busan", renamed));
    ASSERT_NE(book.find("Busan 2"), nullptr);
    EXPECT_EQ(book.find("Busan 2")->lastSeen, seen);
    EXPECT_EQ(book.find("Busan"), nullptr);
    // Only a change of case is no clash with itself.
    renamed.name = "BUSAN 2";
    EXPECT_FALSE(book.edit("Busan 2", renamed));

    EXPECT_EQ(book.groups(), std::vector<std::string>{"Korea"});
    ASSERT_EQ(book.inGroup("").size(), 1u);
    EXPECT_EQ(book.inGroup("")[0]->name, "BUSAN 2");
    EXPECT_EQ(idOf(book.remove("Daegu")), StringId::ApplianceNotFound);
    EXPECT_FALSE(book.remove("busan 2"));
    EXPECT_EQ(book.appliances().size(), 1u);
}

TEST(ApplianceBookFile, RefusesHostileFilesWhole) {
    const std::string head = R"({"format": "QVSetting appliances", "version": 1, )";
    const auto entry = [&](const std::string& fields) {
        return head + R"("appliances": [{"name": "a", "address": "h:1")" + fields + "}]}";
    };
    struct Case {
        std::string text;
        StringId refusal;
    };
    const Case cases[] = {
        {"", StringId::ApplianceBookNotABook},
        {"[]", StringId::ApplianceBookNotABook},
        {"{\"format\": \"QVSetting appliances\", \"version\": 1, \"appliances\": [",
         StringId::ApplianceBookNotABook},
        {R"({"format": "QVSetting backup", "version": 1, "appliances": []})",
         StringId::ApplianceBookNotABook},
        {R"({"format": "QVSetting appliances", "version": "1", "appliances": []})",
         StringId::ApplianceBookNotABook},
        {R"({"format": "QVSetting appliances", "version": 2, "appliances": []})",
         StringId::ApplianceBookNewer},
        {head + R"("appliances": {}})", StringId::ApplianceBookDamaged},
        {head + R"("appliances": [], "extra": 1})", StringId::ApplianceBookDamaged},
        {head + R"("appliances": [], "appliances": []})", StringId::ApplianceBookNotABook},
        {entry(R"(, "name": "b")"), StringId::ApplianceBookNotABook},
        {entry(R"(, "password": "admin")"), StringId::ApplianceBookDamaged},
        {head + R"("appliances": [{"address": "h:1"}]})", StringId::ApplianceBookDamaged},
        {head + R"("appliances": [{"name": 7, "address": "h:1"}]})",
         StringId::ApplianceBookDamaged},
        {head + R"("appliances": ["a"]})", StringId::ApplianceBookDamaged},
        {entry(R"(, "codePage": 850)"), StringId::ApplianceBookDamaged},
        {entry(R"(, "codePage": "949")"), StringId::ApplianceBookDamaged},
        {entry(R"(, "lastSeen": {"when": "x", "by": "y"})"), StringId::ApplianceBookDamaged},
        {entry(R"(, "lastSeen": {"serial": 5})"), StringId::ApplianceBookDamaged},
        {entry(R"(, "note": "\u001b[2J")"), StringId::ApplianceBookBadEntry},
        {entry(R"(, "adminId": "a\u0000b")"), StringId::ApplianceBookBadEntry},
        {head + R"("appliances": [{"name": "a", "address": "h"}]})",
         StringId::ApplianceBookBadEntry},
        {head +
             R"("appliances": [{"name": "A", "address": "h:1"}, {"name": "a", "address": "h:2"}]})",
         StringId::ApplianceBookBadEntry},
        {head + R"("appliances": [)" + std::string(100, '[') + std::string(100, ']') + "]}",
         StringId::ApplianceBookNotABook},
        {entry(R"(, "name2": "\ud800")"), StringId::ApplianceBookNotABook},
        {entry([] {
             std::string keys;
             for (int i = 0; i < 20; ++i)
                 keys += ", \"k" + std::to_string(i) + "\": 0";
             return keys;
         }()),
         StringId::ApplianceBookNotABook},
    };
    for (const Case& c : cases) {
        const LoadResult read = parseBook(c.text, "book.json");
        EXPECT_FALSE(read.ok()) << c.text;
        EXPECT_EQ(idOf(read.error), c.refusal) << c.text;
        if (read.error) {
            EXPECT_EQ(read.error->args.at(0), "book.json") << c.text;
        }
    }
}

TEST(ApplianceBookFile, WritesPrivatelyAndReadsBackTheSameBook) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("qv-book-" + std::to_string(std::random_device{}()));
    fs::remove_all(folder);
    const std::string path = (folder / "QVSetting" / "appliances.json").string();

    const LoadResult missing = loadBook(path);
    ASSERT_TRUE(missing.ok());
    EXPECT_TRUE(missing.book->appliances().empty());

    ApplianceBook book;
    ASSERT_FALSE(book.add(seoul()));
    Appliance korean = seoul();
    korean.name = "부산 지사";
    korean.codePage = 0;
    korean.note = "";
    ASSERT_FALSE(book.add(korean));
    ASSERT_FALSE(book.recordSeen("부산 지사", {"2026-12-10T03:15:00Z", "412", "00-1A"}));
    ASSERT_FALSE(saveBook(book, path));
    if (const auto mode = qvtest::posixFileMode(path)) {
        EXPECT_EQ(*mode, 0600u);
        EXPECT_EQ(*qvtest::posixFileMode((folder / "QVSetting").string()), 0700u);
    }
    const LoadResult read = loadBook(path);
    ASSERT_TRUE(read.ok()) << format(*read.error);
    EXPECT_EQ(read.book->appliances(), book.appliances());
    EXPECT_EQ(bookText(*read.book), bookText(book));

    // Too large, and not a file: refused without being read.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(kMaxBookBytes + 1, ' ');
    EXPECT_EQ(idOf(loadBook(path).error), StringId::ApplianceBookTooLarge);
    EXPECT_EQ(idOf(loadBook(folder.string()).error), StringId::NotRegularFile);
    fs::remove_all(folder);
}

TEST(ApplianceBookFile, LivesInTheUsersConfigurationFolder) {
#ifndef _WIN32
    using Env = std::optional<std::string>;
    const std::tuple<Env, Env, Env> cases[] = {
        {"/cfg", "/home/u", "/cfg/QVSetting/appliances.json"},
        {"relative", "/home/u", "/home/u/.config/QVSetting/appliances.json"},
        {std::nullopt, std::nullopt, std::nullopt},
    };
    const Env home = std::getenv("HOME") ? Env(std::getenv("HOME")) : std::nullopt;
    for (const auto& [xdg, user, path] : cases) {
        qvtest::setEnvironment("XDG_CONFIG_HOME", xdg);
        qvtest::setEnvironment("HOME", user);
        std::optional<Message> why;
        EXPECT_EQ(defaultBookPath(&why), path);
        EXPECT_EQ(why.has_value(), !path.has_value());
    }
    qvtest::setEnvironment("HOME", home);
#endif
}

} // namespace
} // namespace qv::appliances
