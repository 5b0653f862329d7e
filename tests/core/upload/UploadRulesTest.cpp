// The upload rules the pages and qvctl share: the size limits at their edges, the logo's type
// digit, the frames as they go on the wire, and files that cannot be sent.

#include "core/upload/UploadRules.h"
#include "link/Frame.h"
#include "link/Requests.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace upload = qv::upload;
using qv::StringId;
using upload::Kind;

namespace {

std::string scratchFile(const std::string& name, const std::string& bytes) {
    const std::string path =
        ::testing::TempDir() + "upload-rules-" + std::to_string(::getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

TEST(UploadRules, SizeLimitsAtTheirEdges) {
    struct Case {
        Kind kind;
        uint64_t size;
        std::optional<StringId> refusal;
    };
    for (const Case& c : {
             Case{Kind::Logo, 614399, std::nullopt},
             Case{Kind::Logo, 614400, StringId::LogoTooLarge},
             Case{Kind::ActiveXPage, 131071, std::nullopt},
             Case{Kind::ActiveXPage, 131072, StringId::ActiveXPageTooLarge},
             Case{Kind::WebArchive, 16777215, std::nullopt},
             Case{Kind::WebArchive, 16777216, StringId::ZipTooLarge},
         }) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(upload::sizeRefusal(c.kind, c.size), c.refusal);
        // The file itself: refused before it is read, or sent whole.
        const std::string path = scratchFile("edge", std::string(c.size, 'x'));
        const upload::Prepared prepared = upload::prepare(c.kind, path);
        EXPECT_EQ(prepared.refusal, c.refusal);
        if (!c.refusal) {
            ASSERT_TRUE(prepared.frame);
            const size_t sent = c.kind == Kind::Logo ? c.size + 1 : c.size;
            EXPECT_EQ(prepared.frame->dwCount, static_cast<int32_t>(sent));
            EXPECT_EQ(prepared.frame->payload.size(), sent);
            EXPECT_FALSE(prepared.frame->scrambled);
        }
        std::filesystem::remove(path);
    }
}

TEST(UploadRules, LogoTypeDigitFromTheLastDotOfThePath) {
    for (const auto& [path, digit] : std::vector<std::pair<std::string, uint8_t>>{
             {"logo.gif", '1'},
             {"LOGO.GIF", '1'},
             {"logo.Gif", '1'},
             {"logo.jpg", '2'},
             {"logo.jpeg", '2'},
             {"logo.JPEG", '2'},
             {"logo.swf", '3'},
             {"logo.bmp", '1'},
             {"logo.png", '1'},
             {"logo.gifx", '1'},
             {"logo.swfx", '3'},
             {"logo", '1'},
             {"logo.", '1'},
             {"/home/a.jpg/logo", '2'},
             {"/home/a.b/logo.swf", '3'},
         }) {
        SCOPED_TRACE(path);
        EXPECT_EQ(upload::logoTypeDigit(path), digit);
    }
}

TEST(UploadRules, FramesOnTheWire) {
    // The logo's bytes, then its type digit.
    const std::string jpeg = scratchFile("logo.jpeg", "\xFF\xD8\xFF\xE0 picture");
    const upload::Prepared logo = upload::prepare(Kind::Logo, jpeg);
    ASSERT_TRUE(logo.frame);
    EXPECT_EQ(std::string(logo.frame->payload.begin(), logo.frame->payload.end()),
              std::string("\xFF\xD8\xFF\xE0 picture2"));

    // An empty page or archive is the header alone with value 0; so is the logo's delete.
    const std::string empty = scratchFile("empty", "");
    for (Kind kind : {Kind::ActiveXPage, Kind::WebArchive}) {
        const upload::Prepared none = upload::prepare(kind, empty);
        ASSERT_TRUE(none.frame);
        EXPECT_EQ(qv::encodeFrame(*none.frame).size(), qv::kHeaderSize);
        EXPECT_EQ(none.frame->dwCount, 0);
    }
    const std::vector<uint8_t> del = qv::encodeFrame(qv::request::deleteLogo());
    ASSERT_EQ(del.size(), qv::kHeaderSize);
    EXPECT_EQ(qv::decodeHeader(del.data()).cmd, qv::CMD_SET_LOGO_MSG);
    EXPECT_EQ(qv::decodeHeader(del.data()).dwCount, 0);
    // An empty logo file would be the delete request: it is refused instead.
    EXPECT_EQ(upload::prepare(Kind::Logo, empty).refusal, StringId::LogoFileEmpty);
    for (const std::string& path : {jpeg, empty})
        std::filesystem::remove(path);
}

TEST(UploadRules, LogoImageSignatures) {
    for (const auto& [head, image] :
         std::vector<std::pair<std::string, bool>>{{"GIF89a", true},
                                                   {"\xFF\xD8\xFF", true},
                                                   {"FWS", true},
                                                   {"CWS", true},
                                                   {"\x89PNG", false},
                                                   {"BM6", true},
                                                   {"GI", false},
                                                   {"", false}}) {
        SCOPED_TRACE(head);
        const std::vector<uint8_t> bytes(head.begin(), head.end());
        EXPECT_EQ(upload::looksLikeLogoImage(bytes), image);
    }
}

} // namespace
