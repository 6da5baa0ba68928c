#include <cstddef>
#include <cstdint>
#include <span>

#include "event_checker.h"
#include "formats/wkb_reader.h"

namespace reader = vornix::utils::reader;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> wkb(data, size);
    // the dialect the conversions would choose, and the other one, which a nested header may
    // also meet
    for (auto dialect : {reader::choose_dialect(wkb), reader::WkbDialect::iso, reader::WkbDialect::ewkb}) {
        reader::EventChecker checker(wkb);
        checker.finish(reader::read_wkb(wkb, dialect, checker));
    }
    return 0;
}
