// What the GeoJSON and VeltJSON builders share: the stack, the SRID written into every finished
// geometry (replaced by the SRID the input reports, kept when it reports none), the point mode
// between a point's begin and end, and the taking of the result.
#pragma once

#include <cstdint>
#include <optional>

#include "python/utils/builder/stack.h"
#include "formats/processor.h"

namespace vornix::utils::builder {

class PyBuilder : public formats::Processor {
public:
    explicit PyBuilder(std::optional<std::int32_t> srid) : srid_(srid) {}

    formats::Status srid(std::optional<std::int32_t> srid) override {
        if (srid) srid_ = srid;
        return {};
    }
    formats::Status point_begin(std::size_t) override {
        point_mode_ = true;
        return {};
    }

    // The finished dictionary; the builder is spent.
    binding::PyResult<binding::Ref> finish() && { return stack_.finish(); }

protected:
    // Pushes a new empty list to be filled.
    formats::Status open_list();

    ObjectStack stack_;
    std::optional<std::int32_t> srid_;
    bool point_mode_ = false;
};

}  // namespace vornix::utils::builder
