// qvctl's upload, logo, update, firmware, reboot and autoupdate commands against qvsim over
// loopback: stored files equal the originals, refused input is refused before logging on, and
// each command's exit status follows the appliance's answer.

#include "res/StringTable.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"

#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using qv::StringId;

namespace {

std::string english(StringId id) {
    return std::string(qv::uiString(id, qv::Language::English));
}

class UploadCommand : public ::testing::Test {
protected:
    void start(bool updateServerUnreachable = false) {
        qv::sim::ServerOptions options;
        options.uploadDir = scratch + "-uploads";
        options.updateStep = std::chrono::milliseconds(20);
        options.updateServerUnreachable = updateServerUnreachable;
        sim = std::make_unique<qv::simtest::RunningSim>(options);
        ASSERT_TRUE(sim->started());
    }
    void TearDown() override {
        sim.reset();
        std::filesystem::remove_all(scratch + "-uploads");
        std::filesystem::remove(scratch);
    }
    qvtest::QvctlResult qvctl(const std::vector<std::string>& args) {
        std::vector<std::string> all{"--server", sim->address()};
        all.insert(all.end(), args.begin(), args.end());
        return qvtest::runQvctl(all);
    }
    std::string write(const std::string& bytes, uint64_t size = 0) {
        std::ofstream(scratch, std::ios::binary | std::ios::trunc) << bytes;
        if (size > bytes.size())
            std::filesystem::resize_file(scratch, size);
        return scratch;
    }

    std::string scratch = ::testing::TempDir() + "qvctl-upload-" + std::to_string(::getpid());
    std::unique_ptr<qv::simtest::RunningSim> sim;
};

TEST_F(UploadCommand, UploadsAreStoredAsSentAndTheLogoDeleted) {
    start();
    struct Case {
        std::string kind, bytes, stored;
        StringId message;
    };
    for (const Case& c : {
             Case{"logo", "GIF89a\r\n-x", "logo.gif", StringId::LogoUploaded},
             Case{"activex", "<html>\r\n</html>\r", "index.html", StringId::ActiveXPageUploaded},
             Case{"web", std::string(2 * 1024 * 1024, 'w'), "webpage.zip",
                  StringId::HtmlPageUploaded},
             Case{"web", "", "webpage.zip", StringId::HtmlPageUploaded},
         }) {
        SCOPED_TRACE(c.kind);
        const qvtest::QvctlResult r = qvctl({"upload", c.kind, write(c.bytes)});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, english(c.message) + "\n");
        EXPECT_EQ(qvtest::readFile(scratch + "-uploads/" + c.stored), c.bytes);
    }
    const qvtest::QvctlResult r = qvctl({"logo", "delete"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, english(StringId::LogoDeleted) + "\n");
    EXPECT_FALSE(std::filesystem::exists(scratch + "-uploads/logo.gif"));
}

TEST_F(UploadCommand, RefusedInputSendsNothing) {
    start();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    for (const Case& c : std::vector<Case>{
             {{"upload", "logo", write("", 614400)}, english(StringId::LogoTooLarge)},
             {{"upload", "web", write("", 16777216)}, english(StringId::ZipTooLarge)},
             {{"upload", "web", "/no/such/file.zip"}, "/no/such/file.zip cannot be read"},
             {{"upload", "movie", "x"}, "takes logo, activex or web"},
             {{"autoupdate", "maybe"}, "takes on or off"},
         }) {
        SCOPED_TRACE(c.args[0]);
        const qvtest::QvctlResult r = qvctl(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

TEST_F(UploadCommand, UpdateStagesAutoUpdateFirmwareAndReboot) {
    start();
    qvtest::QvctlResult r = qvctl({"update", "start"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Relay Server: Start");
    EXPECT_NE(r.out.find("CGI: Start\nUpdate finished: Start\nUpdate finished.\n"),
              std::string::npos)
        << r.out;

    for (const char* setting : {"off", "on"}) {
        ASSERT_EQ(qvctl({"autoupdate", setting}).status, 0);
        r = qvctl({"--json", "autoupdate"});
        EXPECT_NE(r.out.find(std::string("\"automaticUpdate\": ") +
                             (setting == std::string("on") ? "true" : "false")),
                  std::string::npos)
            << r.out;
    }
    r = qvctl({"reboot", "--yes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, english(StringId::CliRebooting) + "\n");
}

TEST_F(UploadCommand, UpdateServerUnreachableIsRefused) {
    start(true);
    qvtest::QvctlResult r = qvctl({"update", "start"});
    EXPECT_EQ(r.status, 6);
    EXPECT_EQ(r.out, "Relay Server: Start\n");
    EXPECT_NE(r.err.find(english(StringId::UpdateServerUnreachable)), std::string::npos);
    r = qvctl({"firmware", "update", "--yes"});
    EXPECT_EQ(r.status, 6);
    EXPECT_NE(r.err.find(english(StringId::FirmwareServerUnreachable)), std::string::npos);
}

} // namespace
