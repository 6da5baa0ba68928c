// The two texts of an engine error: the display text (inside Python exceptions) and the record
// form (ending internal-error stops); and the lossy reading of byte strings shown to people.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

#include "geometry/error.h"
#include "geometry/unicode.h"

using geometry::Error;

namespace {

// A short printable label for test listings (ctest names carry it): letters, digits and blanks.
std::string label(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 40)) out.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
    return out;
}

struct DisplayCase {
    const char* msg;
    const char* additional;
    const char* display;
};

void PrintTo(const DisplayCase& c, std::ostream* os) { *os << label(c.display); }

class DisplayText : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayText, NormalisesBothTextsAndJoinsThem) {
    const auto& c = GetParam();
    EXPECT_EQ((Error{5, c.msg, c.additional}.display()), c.display);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayText,
    ::testing::Values(
        DisplayCase{"Geometry is empty.", "the ring is open..", "Geometry is empty: The ring is open"},
        DisplayCase{"...", "", "No error message found"},
        DisplayCase{"", "", "No error message found"},
        DisplayCase{"", "x", "X"},
        DisplayCase{"message", ".", "Message"},
        // Only trailing full stops go; nothing else is trimmed.
        DisplayCase{"1. see note 2.", "", "1. see note 2"},
        DisplayCase{" lead. ", "", " lead. "},
        // The full upper-case mapping of the first character, which may be longer than one.
        DisplayCase{"ßtraße", "", "SStraße"},
        DisplayCase{"ŉ", "", "ʼN"},
        DisplayCase{"ǰ", "", "J\u030C"},
        DisplayCase{"ΐ.", "", "\u0399\u0308\u0301"},
        DisplayCase{"ﬃx", "", "FFIx"},
        DisplayCase{"և", "", "ԵՒ"},
        DisplayCase{"ǆ", "", "Ǆ"},
        DisplayCase{"été", "ωμέγα", "Été: Ωμέγα"},
        DisplayCase{"ÿ", "ж", "Ÿ: Ж"},
        // A first byte that is not UTF-8 is kept as it is.
        DisplayCase{"\xff" "abc", "", "\xff" "abc"}));

struct RecordCase {
    Error error;
    const char* record;
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << label(c.record); }

class RecordForm : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordForm, QuotesAndEscapesBothTexts) { EXPECT_EQ(GetParam().error.record_form(), GetParam().record); }

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordForm,
    ::testing::Values(
        RecordCase{{0, "", ""}, R"(Error { code: 0, msg: "", additional_msg: "" })"},
        RecordCase{{-3, "say \"hi\"", "C:\\dir"}, R"(Error { code: -3, msg: "say \"hi\"", additional_msg: "C:\\dir" })"},
        RecordCase{{5, std::string("a\nb\rc\td\0e", 9), ""},
                   R"(Error { code: 5, msg: "a\nb\rc\td\0e", additional_msg: "" })"},
        // Every other character that is not printable or extends a grapheme as \u{hex}: controls
        // (C0, DEL, C1) and combining marks (Mn, Me) first.
        RecordCase{{1, "\x01\x1f\x7f\u0085", "e\u0301\u20dd\u1ab0"},
                   R"(Error { code: 1, msg: "\u{1}\u{1f}\u{7f}\u{85}", additional_msg: "e\u{301}\u{20dd}\u{1ab0}" })"},
        // Format characters, spaces other than U+0020, line and paragraph separators.
        RecordCase{{2, "\u00ad\u200b\ufeff", "a\u00a0b\u3000\u2028\u2029"},
                   R"(Error { code: 2, msg: "\u{ad}\u{200b}\u{feff}", additional_msg: "a\u{a0}b\u{3000}\u{2028}\u{2029}" })"},
        // Private use, noncharacters, unassigned code points; grapheme extenders outside Mn and Me.
        RecordCase{{3, "\ue000\U000f0000\ufdd0\uffff\u0378\U0010ffff", "\u200c\uff9e"},
                   R"(Error { code: 3, msg: "\u{e000}\u{f0000}\u{fdd0}\u{ffff}\u{378}\u{10ffff}", additional_msg: "\u{200c}\u{ff9e}" })"},
        // Everything else stays as it is (U+1F6DC is newer than many tables); bytes that are not
        // UTF-8 show as U+FFFD.
        RecordCase{{100000, "ß € 😀 ж \U0001f6dc", "\xff"},
                   "Error { code: 100000, msg: \"ß € 😀 ж \U0001f6dc\", additional_msg: \"\uFFFD\" }"}));

TEST(ConversionError, NamesBothTypes) {
    const Error error = Error::new_conversion_error("GeometryOwned", "Polygon");
    EXPECT_EQ(error, (Error{KX_ERROR_CONVERSION, "Conversion between types failed.", "Tried to convert from GeometryOwned to Polygon."}));
    EXPECT_EQ(error.display(), "Conversion between types failed: Tried to convert from GeometryOwned to Polygon");
}

TEST(Lossy, ReplacesEachMaximalIllFormedSubsequence) {
    using geometry::unicode::lossy;
    const std::string r = "\uFFFD";
    EXPECT_EQ(lossy("/opt/lib/libcorvane.so"), "/opt/lib/libcorvane.so");
    EXPECT_EQ(lossy("a\xff" "b"), "a" + r + "b");
    EXPECT_EQ(lossy("\xe2\x82"), r);                     // truncated: one replacement
    EXPECT_EQ(lossy("\xf0\x9f\x98" "a"), r + "a");
    EXPECT_EQ(lossy("\xe0\x80\x80"), r + r + r);         // overlong
    EXPECT_EQ(lossy("\xed\xa0\x80"), r + r + r);         // surrogate
    EXPECT_EQ(lossy("\xf4\x90\x80\x80"), r + r + r + r);  // beyond U+10FFFF
    EXPECT_EQ(lossy("\xc3\xa9\xc3"), "é" + r);
}

}  // namespace
