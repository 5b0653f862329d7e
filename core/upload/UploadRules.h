#pragma once

// What the three upload pages and qvctl's upload commands send: size limits, the logo's image
// type, the frame, and the message of the appliance's answer. No Qt here.

#include "link/Frame.h"
#include "link/LinkEvent.h"
#include "res/StringIds.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv::upload {

enum class Kind {
    Logo,        // the company logo and banner the client programs show (request 14)
    ActiveXPage, // the start page of the appliance's web server, index.html (request 15)
    WebArchive,  // a zip archive of web files the appliance unpacks (request 20)
};

// The largest file the appliance takes for each kind: a logo under 600 KB, an ActiveX page
// under 128 KB, a web archive of at most 16 MB less one byte (its length travels in 24 bits on
// the appliance's side).
inline constexpr uint64_t kLogoMaxBytes = 600 * 1024 - 1;
inline constexpr uint64_t kActiveXPageMaxBytes = 128 * 1024 - 1;
inline constexpr uint64_t kWebArchiveMaxBytes = 16 * 1024 * 1024 - 1;

uint64_t maxBytes(Kind kind);
// The message that refuses a file of `size` bytes, or nothing when the appliance takes it.
std::optional<StringId> sizeRefusal(Kind kind, uint64_t size);

// The logo's image type byte, from the text after the last '.' of the whole path (a dot in a
// folder name counts when the file name has none), compared by its first three characters in
// upper case: GIF '1', JPG and JPE(G) '2', SWF '3', anything else '1' (the appliance shows
// BMP and PNG files through its GIF path).
uint8_t logoTypeDigit(std::string_view path);

// True when the bytes begin as a GIF, JPEG, BMP or Flash file does (the formats the page's help
// names). A PNG file would be stored as a GIF logo, which the client programs cannot show.
bool looksLikeLogoImage(std::span<const uint8_t> head);
// How many leading bytes looksLikeLogoImage needs.
inline constexpr size_t kImageSignatureBytes = 3;

// The frame of an upload: the file's bytes raw, with the logo's type byte after them. An empty
// file is sent as the header alone, with value 0 (for the logo that is the same request as
// delete; see prepare()).
Frame uploadFrame(Kind kind, std::vector<uint8_t> contents, std::string_view path);

// A file read and checked for upload: the frame to send, or the message that refuses it.
struct Prepared {
    std::optional<Frame> frame;
    std::optional<StringId> refusal;
    uint64_t fileSize = 0;
};
// Reads the file at `path` (UTF-8) whole after checking its size against the kind's limit, so
// an oversize file is never read into memory. A missing or unreadable file, or one that is not
// a regular file, is refused with UploadFileUnreadable.
Prepared prepare(Kind kind, const std::string& path);

// The event the appliance's answer to an upload of `kind` raises.
ReplyEvent answerEvent(Kind kind);
// The message the answer shows: the logo's 0 (deleted) and 1 (stored), any value for the other
// two kinds; nothing for a logo answer of another value.
std::optional<StringId> answerMessage(Kind kind, int32_t value);

} // namespace qv::upload
