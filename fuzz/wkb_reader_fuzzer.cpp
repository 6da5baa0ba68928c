#include <cstddef>
#include <cstdint>
#include <span>

#include "event_checker.h"
#include "formats/wkb_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> wkb(data, size);
    // the dialect the conversions would choose, and the other one, which a nested header may
    // also meet
    for (auto dialect : {formats::choose_dialect(wkb), formats::WkbDialect::iso, formats::WkbDialect::ewkb}) {
        formats::EventChecker checker(wkb);
        checker.finish(formats::read_wkb(wkb, dialect, checker));
    }
    return 0;
}
