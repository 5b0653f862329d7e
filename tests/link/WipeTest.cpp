// A held password leaves nothing behind when its holder goes, whether or not it was used.

#include "link/Wipe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string_view>

namespace {

TEST(Wipe, HeldPasswordIsGoneWithItsHolder) {
    // A short password lives inside the string object itself; the holder's own bytes are read
    // after it ended, so the test sees what a later owner of that memory would.
    alignas(qv::WipedText) unsigned char storage[sizeof(qv::WipedText)];
    auto* held = new (storage) qv::WipedText;
    held->text = "pa55word";
    held->~WipedText();
    const std::string_view bytes(reinterpret_cast<const char*>(storage), sizeof storage);
    EXPECT_EQ(bytes.find("pa55"), std::string_view::npos);
}

} // namespace
