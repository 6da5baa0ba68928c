// The cost of the binding's layers around one engine call: forcing the table, and a call with an
// error record and slot, against the same engine function called through its bare address.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "geometry/bindings.h"
#include "geometry/environment.h"
#include "geometry/error.h"
#include "ratio_reporter.h"

using geometry::bindings::ffi;

namespace {

// A string handle kept for the whole run; reading its bytes is a cheap engine call that succeeds.
KX_StringHandle engine_string() {
    static KX_StringHandle handle = [] {
        geometry::environment::init();
        return ffi().KX_VornixRuntimeEnvironment_getInstallDirectory(nullptr);
    }();
    return handle;
}

void ForceTable(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(&ffi());
}
BENCHMARK(ForceTable);

void BareAddress(benchmark::State& state) {
    auto* get_bytes = ffi().KX_String_getByteArray;
    KX_StringHandle handle = engine_string();
    size_t size = 0;
    for (auto _ : state) benchmark::DoNotOptimize(get_bytes(handle, &size, nullptr));
}
BENCHMARK(BareAddress);

void CallWithRecord(benchmark::State& state) {
    KX_StringHandle handle = engine_string();
    size_t size = 0;
    for (auto _ : state) {
        auto bytes = geometry::call([&](const KX_ErrorCallbackRecord* rec) {
            return ffi().KX_String_getByteArray(handle, &size, rec);
        });
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(CallWithRecord);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double bare = reporter.time("BareAddress");
    if (bare > 0)
        std::printf("call with record / bare address: %.2f (%.1f ns over %.1f ns)\n",
                    reporter.time("CallWithRecord") / bare, reporter.time("CallWithRecord") - bare, bare);
    ffi().KX_String_destroy(engine_string(), nullptr);
    benchmark::Shutdown();
}
