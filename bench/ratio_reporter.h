// A console reporter that keeps each benchmark's time per iteration (the median of repetitions
// where there are any, else the single run), so that a program can print ratios of its
// benchmarks at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            const std::string name = run.run_name.str();
            if (run.aggregate_name == "median" || (run.run_type == Run::RT_Iteration && !times_.contains(name)))
                times_[name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // The time of the benchmark of this full name (arguments included); 0 when it did not run.
    double time(const std::string& name) const {
        auto it = times_.find(name);
        return it == times_.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> times_;
};

// The main of a benchmark program: runs its benchmarks, then `print_ratios` with their times.
template <typename Print>
int run_with_ratios(int argc, char** argv, Print print_ratios) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_ratios(reporter);
    benchmark::Shutdown();
    return 0;
}
