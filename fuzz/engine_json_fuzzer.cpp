// The engine's JSON reader through the C interface: any text either fails with an engine error or
// gives a geometry that can be written, measured and read again; nothing leaks either way.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "corvane/corvane.h"

namespace {

void drop(void*, KX_ErrorHandle e) { KX_Error_destroy(e, nullptr); }
const KX_ErrorCallbackRecord kRec{drop, nullptr};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    KX_GeometryHandle g = KX_Geometry_fromJSON(text.c_str(), &kRec);
    if (g == nullptr) return 0;
    KX_StringHandle s = KX_Geometry_toJSON(g, &kRec);
    size_t n = 0;
    const uint8_t* bytes = KX_String_getByteArray(s, &n, &kRec);
    const std::string written(reinterpret_cast<const char*>(bytes), n);
    KX_String_destroy(s, nullptr);
    KX_GeometryHandle again = KX_Geometry_fromJSON(written.c_str(), &kRec);
    // Its own text must read back without fault or leak; an arc that held only within rounding
    // may be refused then, so the result is not required.
    KX_Geometry_destroy(KX_Geometry_getExtent(g, &kRec), nullptr);
    KX_Geometry_destroy(again, nullptr);
    KX_Geometry_destroy(g, nullptr);
    if (KXT_live_objects("*") != 0) std::abort();
    return 0;
}
