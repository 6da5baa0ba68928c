// Where the first NUL of text bound for a C string stands: in bytes for the engine's errors, in
// characters for the index a Python str gives it.
#include "base/interior_nul.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace std::string_literals;

TEST(InteriorNul, FirstInBytesAndInCharacters) {
    struct Case {
        std::string text;
        std::optional<size_t> bytes, characters;
    };
    const Case cases[] = {
        {"", std::nullopt, std::nullopt},
        {"T*F**FFF*", std::nullopt, std::nullopt},
        {"\0"s, 0, 0},
        {"T*F\0*FFF*\0"s, 3, 3},
        {"\xC3\xA9\0"s, 2, 1},                   // a 2-byte character
        {"x\xE2\x82\xAC\0"s, 4, 2},              // a 3-byte one
        {"\xF0\x9F\x98\x80\xC3\xA9\0"s, 6, 2},   // a 4-byte one and a 2-byte one
        {"a\0\xE2\x82\xAC"s, 1, 1},              // characters after the NUL do not count
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::interior_nul::first(c.text), c.bytes) << testing::PrintToString(c.text);
        EXPECT_EQ(core::interior_nul::first_character(c.text), c.characters) << testing::PrintToString(c.text);
    }
    EXPECT_EQ(core::interior_nul::refusal("The path", 5), "The path holds a NUL character at position 5.");
}

}  // namespace
