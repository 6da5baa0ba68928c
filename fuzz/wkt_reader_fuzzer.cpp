#include <cstddef>
#include <cstdint>
#include <string_view>

#include "event_checker.h"
#include "formats/wkt_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    formats::EventChecker checker;
    const auto status =
        formats::read_wkt(std::string_view(reinterpret_cast<const char*>(data), size), checker);
    checker.finish(status);
    return 0;
}
