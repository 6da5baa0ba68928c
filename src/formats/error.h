// Why reading a geometry stopped: the error of a reader or of the processor it drives. The
// kinds keep the display texts that callers of the conversions already match on.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace formats {

struct Error {
    enum class Kind {
        geometry,         // a text of the WKT parser or of a processor
        io,               // the input ended before the geometry did
        geometry_format,  // a type code that names no kind we read
        not_implemented,  // a kind that the processor does not build: the caller's data, no fault
    };

    Kind kind;
    std::string text;

    static Error geometry(std::string text) { return {Kind::geometry, std::move(text)}; }
    static Error truncated() { return {Kind::io, "failed to fill whole buffer"}; }
    static Error unsupported() { return {Kind::geometry_format, {}}; }
    static Error not_implemented() { return {Kind::not_implemented, "not implemented"}; }

    std::string display() const;
    bool operator==(const Error&) const = default;
};

// The outcome of one event or of one whole read, read as every other result: true means go on,
// and error() says why reading stopped. An Error converts to the Status that stops. (Not
// std::expected: the fuzz targets are built by a clang to which the standard library does not
// offer it.)
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : error_(std::move(error)) {}

    explicit operator bool() const { return !error_.has_value(); }
    const Error& error() const { return *error_; }
    bool operator==(const Status&) const = default;

private:
    std::optional<Error> error_;
};

// Collections nest by recursion in every reader; the cap keeps hostile input off the end of the
// stack.
inline constexpr int max_collection_depth = 128;
inline constexpr const char* too_deep_text =
    "geometry collections nested deeper than the limit of 128 levels";

}  // namespace formats
