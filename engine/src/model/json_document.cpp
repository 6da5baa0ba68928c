#include "model/json_document.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

namespace model {

// Receives nlohmann's parse events and appends one node per value. Open containers are kept on a
// stack to count their members and close their range.
class JsonDocumentBuilder {
public:
    using Json = nlohmann::json;
    using Node = JsonDocument::Node;
    using Type = JsonDocument::Type;

    explicit JsonDocumentBuilder(JsonDocument& doc) : doc_(doc) {}

    bool null() { return add(Type::Null), true; }
    bool boolean(bool value) { return add(Type::Boolean).boolean = value, true; }
    bool number_integer(Json::number_integer_t value) { return add(Type::Integer).integer = value, true; }
    bool number_unsigned(Json::number_unsigned_t value) { return add(Type::Unsigned).natural = value, true; }
    bool number_float(Json::number_float_t value, const Json::string_t&) { return add(Type::Float).real = value, true; }
    bool string(Json::string_t& value) {
        const uint32_t at = keep(value);
        Node& n = add(Type::String);
        n.text = {at, static_cast<uint32_t>(value.size())};
        return true;
    }
    bool binary(Json::binary_t&) { return false; }  // never in JSON text
    bool start_object(size_t) { return open(Type::Object); }
    bool start_array(size_t) { return open(Type::Array); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(Json::string_t& name) {
        key_at_ = keep(name);
        key_size_ = static_cast<uint32_t>(name.size());
        return true;
    }
    bool parse_error(size_t, const std::string&, const Json::exception&) { return false; }

private:
    uint32_t keep(std::string_view chars) {
        const auto at = static_cast<uint32_t>(doc_.chars_.size());
        doc_.chars_ += chars;
        return at;
    }

    // A new value, a member of the innermost open container (with the pending key in an object).
    Node& add(Type type) {
        Node node{};
        node.type = type;
        const bool in_object = !open_.empty() && doc_.nodes_[open_.back()].type == Type::Object;
        if (in_object) {
            node.key_at = key_at_;
            node.key_size = key_size_;
        }
        doc_.nodes_.push_back(node);
        if (!open_.empty()) ++doc_.nodes_[open_.back()].members.size;
        return doc_.nodes_.back();
    }
    bool open(Type type) {
        add(type).members = {0, 0};
        open_.push_back(static_cast<uint32_t>(doc_.nodes_.size() - 1));
        return true;
    }
    bool close() {
        doc_.nodes_[open_.back()].members.end = static_cast<uint32_t>(doc_.nodes_.size());
        open_.pop_back();
        return true;
    }

    JsonDocument& doc_;
    std::vector<uint32_t> open_;
    uint32_t key_at_ = 0, key_size_ = 0;
};

std::optional<JsonDocument> JsonDocument::parse(std::string_view text) {
    JsonDocument doc;
    JsonDocumentBuilder builder(doc);
    if (!nlohmann::json::sax_parse(text, &builder)) return std::nullopt;
    return doc;
}

double JsonValue::real() const {
    switch (node().type) {
    case Type::Integer: return static_cast<double>(node().integer);
    case Type::Unsigned: return static_cast<double>(node().natural);
    default: return node().real;
    }
}

int64_t JsonValue::integer() const {
    switch (node().type) {
    case Type::Unsigned: return static_cast<int64_t>(node().natural);
    case Type::Float: return static_cast<int64_t>(node().real);
    default: return node().integer;
    }
}

JsonValue JsonValue::operator[](size_t i) const {
    uint32_t index = index_ + 1;
    for (; i > 0; --i) index = doc_->after(index);
    return JsonValue(doc_, index);
}

std::optional<JsonValue> JsonValue::find(std::string_view key) const {
    if (!is_object()) return std::nullopt;
    std::optional<JsonValue> found;
    for (JsonValue member : *this) {
        const JsonDocument::Node& n = member.node();
        if (doc_->chars(n.key_at, n.key_size) == key) found = member;
    }
    return found;
}

JsonValue JsonValue::at(std::string_view key) const {
    if (auto member = find(key)) return *member;
    throw std::out_of_range("JSON object has no member \"" + std::string(key) + "\".");
}

}  // namespace model
