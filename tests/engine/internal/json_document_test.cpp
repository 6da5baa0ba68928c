// The geometry reader holds parsed JSON in a flat document instead of an nlohmann tree (whose
// destruction can end the process when memory runs out); the document must read every text
// exactly as the tree did: same texts refused, same kinds and values, the last of repeated keys.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <nlohmann/json.hpp>

#include "model/json_document.h"

namespace {

using model::JsonDocument;
using model::JsonValue;
using Tree = nlohmann::json;

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expect_same(const Tree& tree, JsonValue value, const std::string& where) {
    SCOPED_TRACE(where);
    ASSERT_EQ(value.is_null(), tree.is_null());
    ASSERT_EQ(value.is_boolean(), tree.is_boolean());
    ASSERT_EQ(value.is_number(), tree.is_number());
    ASSERT_EQ(value.is_number_integer(), tree.is_number_integer());
    ASSERT_EQ(value.is_string(), tree.is_string());
    ASSERT_EQ(value.is_array(), tree.is_array());
    ASSERT_EQ(value.is_object(), tree.is_object());
    ASSERT_EQ(value.size(), tree.is_array() ? tree.size() : 0u);
    if (tree.is_boolean()) { EXPECT_EQ(value.boolean(), tree.get<bool>()); }
    if (tree.is_number()) { EXPECT_TRUE(same_bits(value.real(), tree.get<double>())); }
    if (tree.is_number_integer()) { EXPECT_EQ(value.integer(), tree.get<int64_t>()); }
    if (tree.is_string()) { EXPECT_EQ(value.text(), tree.get<std::string>()); }
    if (tree.is_array()) {
        size_t i = 0;
        for (JsonValue member : value) {
            expect_same(tree[i], member, where + "[" + std::to_string(i) + "]");
            expect_same(tree[i], value[i], where + "[" + std::to_string(i) + "] by index");
            ++i;
        }
        EXPECT_EQ(i, tree.size());
    }
    if (tree.is_object()) {
        for (const auto& [key, member] : tree.items()) {
            const auto found = value.find(key);
            ASSERT_TRUE(found.has_value()) << key;
            expect_same(member, *found, where + "." + key);
        }
    }
    EXPECT_FALSE(value.find("absent").has_value());
}

TEST(JsonDocument, ReadsEveryTextAsTheTreeDid) {
    const char* const texts[] = {
        "null", "true", "false", "0", "-0", "-0.0", "17", "-17", "1.5e3", "2E-3", "0.1",
        "9223372036854775807", "9223372036854775808", "-9223372036854775808", "-9223372036854775809",
        "18446744073709551615", "18446744073709551616", "123456789012345678901234567890",
        "4.9406564584124654e-324", "1.7976931348623157e308", "1e-400",
        R"("")", R"("a\"b\\c\/\n\u00e9\ud83d\ude00")", "[]", "{}", "[[]]", "[{}, [[], {}], 1]",
        R"({"x": 1, "x": [2, 3], "y": {"x": 4}, "x": {"z": null}})",
        R"({"": 0, "a": {"b": {"c": [1, {"d": [true, false, null]}]}}, "e": "f"})",
        R"( { "paths" : [ [ [1, 2, 3], [4.5, -6e1] ] ], "hasZ" : true } )",
        R"({"spatialReference": {"wkid": 4326, "latestWkid": 4326, "wkt": "G[\"x\"]"}})",
    };
    for (const char* text : texts) {
        const auto doc = JsonDocument::parse(text);
        ASSERT_TRUE(doc.has_value()) << text;
        expect_same(Tree::parse(text), doc->root(), text);
    }
}

TEST(JsonDocument, RefusesWhatTheTreeRefused) {
    const char* const texts[] = {
        "", " ", "nul", "[1,]", "{\"a\":}", "{\"a\" 1}", "{1: 2}", "[1] 2", "01", "1.", ".5", "+1",
        "1e999", "-1e999", "NaN", "[1, 2", "{\"a\": 1", "\"\\x\"", "\"\xff\"", "\"a\nb\"", "// c\n1",
        "'a'",
    };
    for (const char* text : texts) {
        EXPECT_TRUE(Tree::parse(text, nullptr, false).is_discarded()) << text;
        EXPECT_FALSE(JsonDocument::parse(text).has_value()) << text;
    }
}

}  // namespace
