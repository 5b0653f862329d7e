// The plain inventory list: what it accepts, and the message (with its line) for each fault.

#include "cli/Inventory.h"
#include "core/appliances/ApplianceBook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace qvctl {
namespace {

using qv::StringId;

TEST(Inventory, AcceptsNamesAddressesCommentsAndBlankLines) {
    qv::Message error;
    const auto entries = parseInventory("\xEF\xBB\xBF# the branch offices\r\n"
                                        "\n"
                                        "  hq-1\t10.0.0.1:12300   # by the door\r\n"
                                        "branch_2 relay.example.com:65535\n"
                                        "\xEC\xA7\x80\xEC\x82\xAC.3 127.0.0.1:1",
                                        error);
    ASSERT_TRUE(entries) << qv::format(error);
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, "hq-1");
    EXPECT_EQ((*entries)[0].address, "10.0.0.1:12300");
    EXPECT_EQ((*entries)[0].line, 3);
    EXPECT_EQ((*entries)[1].address, "relay.example.com:65535");
    EXPECT_EQ((*entries)[2].name, "\xEC\xA7\x80\xEC\x82\xAC.3");
    EXPECT_EQ((*entries)[2].line, 5);
}

TEST(Inventory, RefusesEachFaultWithItsLine) {
    const std::string longName(65, 'a');
    const struct {
        std::string text;
        StringId id;
        std::vector<std::string> args;
    } cases[] = {
        {"a 1.2.3.4:1\nb\n", StringId::InventoryBadLine, {"2", ""}},
        {"a 1.2.3.4\n", StringId::InventoryBadAddress, {"1", "1.2.3.4"}},
        {"a 1.2.3.4:0\n", StringId::InventoryBadAddress, {"1", "1.2.3.4:0"}},
        {"a 1.2.3.4:+80\n", StringId::InventoryBadAddress, {"1", "1.2.3.4:+80"}},
        {"a :80\n", StringId::InventoryBadAddress, {"1", ":80"}},
        {"a host..x:80\n", StringId::InventoryBadAddress, {"1", "host..x:80"}},
        {"a ho/st:80\n", StringId::InventoryBadAddress, {"1", "ho/st:80"}},
        {"../etc 1.2.3.4:1\n", StringId::InventoryBadName, {"1", "../etc"}},
        {".hidden 1.2.3.4:1\n", StringId::InventoryBadName, {"1", ".hidden"}},
        {"a/b 1.2.3.4:1\n", StringId::InventoryBadName, {"1", "a/b"}},
        {"a\x1b[2J 1.2.3.4:1\n", StringId::InventoryBadName, {"1", "a\x1b[2J"}},
        {"bad\xFF 1.2.3.4:1\n", StringId::InventoryBadName, {"1", "bad\xFF"}},
        {longName + " 1.2.3.4:1\n", StringId::InventoryNameTooLong, {"1", longName}},
        {"nas 1.2.3.4:1\n\nNAS 1.2.3.5:1\n", StringId::InventoryDuplicateName, {"3", "NAS", "1"}},
        {"# nothing but a comment\n\n", StringId::InventoryEmpty, {}},
        {std::string(kMaxInventoryBytes + 1, '#'), StringId::InventoryTooLarge, {"1024"}},
    };
    for (const auto& c : cases) {
        qv::Message error;
        EXPECT_FALSE(parseInventory(c.text, error)) << c.text;
        EXPECT_EQ(error.id, c.id) << c.text;
        EXPECT_EQ(error.args, c.args) << c.text;
    }
}

TEST(Inventory, RefusesMoreEntriesThanTheLimit) {
    std::string text;
    for (size_t i = 0; i <= kMaxInventoryEntries; ++i)
        text += "a" + std::to_string(i) + " 10.0.0.1:1\n";
    qv::Message error;
    EXPECT_FALSE(parseInventory(text, error));
    EXPECT_EQ(error.id, StringId::InventoryTooManyEntries);
}

TEST(Inventory, ReadsOnlyARegularFile) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("qvctl-inventory-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "fleet.txt";
    std::ofstream(file) << "one 127.0.0.1:12300\n";
    qv::Message error;
    const auto entries = readInventoryFile(file.string(), error);
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->front().name, "one");
    EXPECT_FALSE(readInventoryFile(dir.string(), error));
    EXPECT_EQ(error.id, StringId::NotRegularFile);
    EXPECT_FALSE(readInventoryFile((dir / "missing").string(), error));
    EXPECT_EQ(error.id, StringId::InventoryUnreadable);
    std::filesystem::remove_all(dir);
}

TEST(Inventory, CommandsThatRunOverAnInventory) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("qvctl-inventory-cmd-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string folder = dir.string(), file = (dir / "one.json").string();
    std::ofstream(file) << "{}";
    using Args = std::vector<std::string>;
    const struct {
        std::string command;
        Args args;
        std::optional<StringId> refusal;
    } cases[] = {
        {"summary", {}, {}},
        {"centerid", {"add", "7", "--group", "1"}, {}},
        {"blockip", {"add", "10.0.0.9"}, {}},
        {"schedule", {"del", "3", "1"}, {}},
        {"schedule", {"import", "week.xlsx", "--yes"}, {}},
        {"schedule", {"import", "week.xlsx"}, StringId::InventoryNeedsYes},
        {"schedule", {"export", "week.xlsx"}, StringId::InventoryOneFileForAll},
        {"wolentry", {"export", "wol.csv"}, StringId::InventoryOneFileForAll},
        {"network", {}, {}},
        {"network", {"set", "--dhcp", "--yes"}, StringId::InventoryCommandRefused},
        {"autoupdate", {"off"}, StringId::InventoryCommandRefused},
        {"backup", {folder}, {}},
        {"backup", {file}, StringId::InventoryNeedsFolder},
        {"restore", {folder, "--dry-run"}, {}},
        {"restore", {file, "--yes"}, {}},
        {"restore", {folder}, StringId::InventoryNeedsYes},
        {"reboot", {"--yes"}, StringId::InventoryCommandRefused},
        {"admin", {"root"}, StringId::InventoryCommandRefused},
    };
    for (const auto& c : cases) {
        const auto refusal = checkInventoryCommand(c.command, c.args);
        EXPECT_EQ(refusal ? std::optional<StringId>(refusal->id) : std::nullopt, c.refusal)
            << c.command << " " << (c.args.empty() ? "" : c.args.front());
    }
    const InventoryEntry hq{"hq", "10.0.0.1:12300", 1};
    const std::string own = (dir / "hq.json").string();
    EXPECT_EQ(argumentsFor("backup", {folder}, hq), Args{own});
    EXPECT_EQ(argumentsFor("restore", {folder, "--dry-run"}, hq), (Args{own, "--dry-run"}));
    EXPECT_EQ(argumentsFor("restore", {file, "--yes"}, hq), (Args{file, "--yes"}));
    EXPECT_EQ(argumentsFor("wolentry", {"import", folder}, hq), (Args{"import", folder}));
    std::filesystem::remove_all(dir);
}

TEST(Inventory, TakesAnAddressBookOrAGroupOfIt) {
    namespace ap = qv::appliances;
    ap::ApplianceBook book;
    ASSERT_FALSE(book.add({"Seoul 1", "10.0.0.1:12300", "root", "east", 949, "", {}}));
    ASSERT_FALSE(book.add({"../busan", "10.0.0.2:12300", "", "south", 0, "", {}}));
    ASSERT_FALSE(book.add({"Seoul_1", "10.0.0.3:12300", "", "east", 0, "", {}}));
    const auto dir = std::filesystem::temp_directory_path() /
                     ("qvctl-inventory-book-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string bookFile = (dir / "appliances.json").string();
    const std::string listFile = (dir / "list.txt").string();
    std::ofstream(bookFile) << ap::bookText(book);
    std::ofstream(listFile) << "one 127.0.0.1:1\n";
    qv::Message error;
    const auto east = loadInventory(bookFile, std::string("east"), error);
    ASSERT_TRUE(east) << qv::format(error);
    ASSERT_EQ(east->size(), 2u);
    EXPECT_EQ((*east)[0].adminId, "root");
    EXPECT_EQ((*east)[0].codePage, 949);
    EXPECT_EQ(loadInventory(bookFile, std::nullopt, error)->size(), 3u);
    EXPECT_FALSE(loadInventory(bookFile, std::string("west"), error));
    EXPECT_EQ(error.id, StringId::InventoryEmptyGroup);
    EXPECT_FALSE(loadInventory(listFile, std::string("east"), error));
    EXPECT_EQ(error.id, StringId::InventoryGroupNeedsBook);
    EXPECT_EQ(loadInventory(listFile, std::nullopt, error)->front().name, "one");
    // A book's names become file names that stay in the folder, and never two alike.
    const auto all = *loadInventory(bookFile, std::nullopt, error);
    EXPECT_EQ(fileNameOf(all[1]), "_._busan");
    const auto same = checkFileNames(all);
    ASSERT_TRUE(same);
    EXPECT_EQ(same->args, (std::vector<std::string>{"Seoul 1", "Seoul_1", "Seoul_1.json"}));
    EXPECT_FALSE(checkFileNames({all[0], all[1]}));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace qvctl
