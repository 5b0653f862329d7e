// Filling a message's placeholders: in one pass, so a value is never read as a marker.

#include "res/Message.h"

#include <gtest/gtest.h>

namespace {

TEST(Message, FillsEachMarkerOnceFromTheLeft) {
    struct Case {
        std::string_view pattern;
        std::vector<std::string> args;
        std::string_view expected;
    } const cases[] = {
        {"%1 of %2", {"3", "7"}, "3 of 7"},
        {"%2 before %1", {"a", "b"}, "b before a"},
        {"value %1", {"%2"}, "value %2"},       // a value holding a marker stays as it is
        {"%1 and %2", {"only"}, "only and %2"}, // a marker without a value is kept
        {"100%", {"x"}, "100%"},
        {"%1%1", {"ab"}, "abab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qv::format(c.pattern, c.args), c.expected) << c.pattern;
}

} // namespace
