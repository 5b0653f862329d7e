#include "core/upload/UploadRules.h"

#include "link/Commands.h"
#include "link/Requests.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace qv::upload {

uint64_t maxBytes(Kind kind) {
    switch (kind) {
    case Kind::Logo:
        return kLogoMaxBytes;
    case Kind::ActiveXPage:
        return kActiveXPageMaxBytes;
    case Kind::WebArchive:
        break;
    }
    return kWebArchiveMaxBytes;
}

std::optional<StringId> sizeRefusal(Kind kind, uint64_t size) {
    if (size <= maxBytes(kind))
        return std::nullopt;
    switch (kind) {
    case Kind::Logo:
        return StringId::LogoTooLarge;
    case Kind::ActiveXPage:
        return StringId::ActiveXPageTooLarge;
    case Kind::WebArchive:
        break;
    }
    return StringId::ZipTooLarge;
}

uint8_t logoTypeDigit(std::string_view path) {
    const size_t dot = path.rfind('.');
    std::string extension;
    if (dot != std::string_view::npos)
        for (char c : path.substr(dot + 1, 3))
            extension += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (extension == "JPG" || extension == "JPE")
        return '2';
    if (extension == "SWF")
        return '3';
    return '1';
}

bool looksLikeLogoImage(std::span<const uint8_t> head) {
    const auto startsWith = [head](std::string_view signature) {
        return head.size() >= signature.size() &&
               std::equal(signature.begin(), signature.end(), head.begin(),
                          [](char s, uint8_t b) { return static_cast<uint8_t>(s) == b; });
    };
    // GIF87a/GIF89a, a JPEG start-of-image marker, a BMP file (the page's help names it; it goes
    // with the GIF type, as the appliance takes it), and plain, zlib or LZMA Flash files.
    return startsWith("GIF") || startsWith("\xFF\xD8\xFF") || startsWith("BM") ||
           startsWith("FWS") || startsWith("CWS") || startsWith("ZWS");
}

Frame uploadFrame(Kind kind, std::vector<uint8_t> contents, std::string_view path) {
    switch (kind) {
    case Kind::Logo:
        return request::uploadLogo(std::move(contents), logoTypeDigit(path));
    case Kind::ActiveXPage:
        return request::uploadActiveXPage(std::move(contents));
    case Kind::WebArchive:
        break;
    }
    return request::uploadWebArchive(std::move(contents));
}

Prepared prepare(Kind kind, const std::string& path) {
    Prepared out;
    const std::filesystem::path file = std::filesystem::u8path(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        out.refusal = StringId::UploadFileUnreadable;
        return out;
    }
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size < 0) {
        out.refusal = StringId::UploadFileUnreadable;
        return out;
    }
    out.fileSize = static_cast<uint64_t>(size);
    if ((out.refusal = sizeRefusal(kind, out.fileSize)))
        return out;
    // An empty logo would go out as the delete request, or with its type byte alone as an image
    // the client programs cannot show: neither is what an administrator uploading a file wants.
    if (kind == Kind::Logo && out.fileSize == 0) {
        out.refusal = StringId::LogoFileEmpty;
        return out;
    }
    std::vector<uint8_t> contents(static_cast<size_t>(size));
    in.seekg(0);
    // The bytes as they are on disk: no line-end conversion, a file that shrank while being read
    // is not sent.
    if (!in.read(reinterpret_cast<char*>(contents.data()), size) || in.gcount() != size ||
        in.peek() != std::ifstream::traits_type::eof()) {
        out.refusal = StringId::UploadFileUnreadable;
        return out;
    }
    out.frame = uploadFrame(kind, std::move(contents), path);
    return out;
}

ReplyEvent answerEvent(Kind kind) {
    switch (kind) {
    case Kind::Logo:
        return ReplyEvent::LogoAnswered;
    case Kind::ActiveXPage:
        return ReplyEvent::ActiveXPageUploaded;
    case Kind::WebArchive:
        break;
    }
    return ReplyEvent::WebArchiveUploaded;
}

std::optional<StringId> answerMessage(Kind kind, int32_t value) {
    switch (kind) {
    case Kind::Logo:
        if (value == result::kLogoDeleted)
            return StringId::LogoDeleted;
        if (value == result::kLogoUploaded)
            return StringId::LogoUploaded;
        return std::nullopt;
    case Kind::ActiveXPage:
        return StringId::ActiveXPageUploaded;
    case Kind::WebArchive:
        break;
    }
    return StringId::HtmlPageUploaded;
}

} // namespace qv::upload
