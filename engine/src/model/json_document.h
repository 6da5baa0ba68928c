// A parsed JSON text held flat: every value is one node of a single vector, in text order, with
// its characters in one string. A tree of nlohmann values would be no safe holder: destroying one
// with members allocates inside a noexcept destructor, so running out of memory while parsing or
// unwinding ends the process. Destroying this document frees two buffers and allocates nothing.
// Values are read through JsonValue, a view that lives no longer than its document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace model {

class JsonValue;

class JsonDocument {
public:
    // nullopt for text that is not valid JSON, judged exactly as nlohmann's strict parser judges
    // it (it does the parsing). Numbers keep the kind nlohmann gives them: signed integer,
    // unsigned integer or floating point.
    static std::optional<JsonDocument> parse(std::string_view text);

    JsonValue root() const;

private:
    friend class JsonValue;
    friend class JsonDocumentBuilder;

    enum class Type : uint8_t { Null, Boolean, Integer, Unsigned, Float, String, Array, Object };

    // A container's members follow it directly and end at `end`; a member of an object carries its
    // key. Sizes stay within 32 bits because the text the reader accepts is far smaller.
    struct Node {
        Type type = Type::Null;
        uint32_t key_at = 0, key_size = 0;
        union {
            bool boolean;
            int64_t integer;
            uint64_t natural;
            double real;
            struct {
                uint32_t at, size;
            } text;
            struct {
                uint32_t size, end;
            } members;
        };
    };

    std::string_view chars(uint32_t at, uint32_t size) const { return std::string_view(chars_).substr(at, size); }
    // Index of the value after `index` and all of its members.
    uint32_t after(uint32_t index) const {
        const Node& n = nodes_[index];
        return n.type == Type::Array || n.type == Type::Object ? n.members.end : index + 1;
    }

    std::vector<Node> nodes_;
    std::string chars_;
};

// A read-only view of one value, with the few questions the geometry reader asks.
class JsonValue {
public:
    bool is_null() const { return node().type == Type::Null; }
    bool is_boolean() const { return node().type == Type::Boolean; }
    bool is_number() const { return is_number_integer() || node().type == Type::Float; }
    bool is_number_integer() const { return node().type == Type::Integer || node().type == Type::Unsigned; }
    bool is_string() const { return node().type == Type::String; }
    bool is_array() const { return node().type == Type::Array; }
    bool is_object() const { return node().type == Type::Object; }

    // The value itself; each needs the matching kind. A number converts to double or int64 with
    // the plain casts nlohmann uses.
    bool boolean() const { return node().boolean; }
    double real() const;
    int64_t integer() const;
    std::string_view text() const { return doc_->chars(node().text.at, node().text.size); }

    // Elements of an array; 0 for any other value (an object's repeated keys would make its count
    // of members differ from nlohmann's, and the reader never asks for it).
    size_t size() const { return is_array() ? node().members.size : 0; }
    bool empty() const { return size() == 0; }
    // The i-th member of an array; i must be below size().
    JsonValue operator[](size_t i) const;
    // An object's member with this key, the last one when the key repeats (as nlohmann keeps it);
    // nullopt when absent or when this is not an object.
    std::optional<JsonValue> find(std::string_view key) const;
    bool contains(std::string_view key) const { return find(key).has_value(); }
    // The member with this key, which must be there (std::out_of_range when it is not).
    JsonValue at(std::string_view key) const;

    class Iterator {
    public:
        JsonValue operator*() const { return JsonValue(doc_, index_); }
        Iterator& operator++() {
            index_ = doc_->after(index_);
            return *this;
        }
        bool operator==(const Iterator& other) const { return index_ == other.index_; }

    private:
        friend class JsonValue;
        Iterator(const JsonDocument* doc, uint32_t index) : doc_(doc), index_(index) {}
        const JsonDocument* doc_;
        uint32_t index_;
    };
    // The members of an array or object, in text order; none for any other value.
    Iterator begin() const { return Iterator(doc_, has_members() ? index_ + 1 : index_); }
    Iterator end() const { return Iterator(doc_, has_members() ? node().members.end : index_); }

private:
    friend class JsonDocument;
    using Type = JsonDocument::Type;
    JsonValue(const JsonDocument* doc, uint32_t index) : doc_(doc), index_(index) {}
    const JsonDocument::Node& node() const { return doc_->nodes_[index_]; }
    bool has_members() const { return (is_array() || is_object()) && node().members.size > 0; }

    const JsonDocument* doc_;
    uint32_t index_;
};

inline JsonValue JsonDocument::root() const { return JsonValue(this, 0); }

}  // namespace model
