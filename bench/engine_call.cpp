// The cost of the binding's layers around one engine call: forcing the table, and a call with an
// error record and slot, against the same engine function called through its bare address.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "geometry/bindings.h"
#include "geometry/environment.h"
#include "geometry/error.h"

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

// Keeps each benchmark's time per iteration for the ratio printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            const std::string& name = run.run_name.function_name;
            // The median of repetitions where there are any, else the single run.
            if (run.aggregate_name == "median" || (run.run_type == Run::RT_Iteration && !times_.contains(name)))
                times_[name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double time(const std::string& name) const {
        auto it = times_.find(name);
        return it == times_.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> times_;
};

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
