// A processor that stops the fuzzer when a reader breaks its own contract: every end event
// closes the geometry its begin opened, a point holds exactly one vertex, a run of vertices lies
// inside the input it was read from, and a read that succeeds leaves nothing open.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "formats/processor.h"

namespace formats {

class EventChecker : public Processor {
public:
    EventChecker() = default;
    // For a reader whose runs point into its input.
    explicit EventChecker(std::span<const std::uint8_t> input) : input_(input) {}

    // Called after a read: `status` is what the reader returned.
    void finish(const Status& status) const {
        if (status) require(open_.empty() && !in_point_);
    }

    Status srid(std::optional<std::int32_t>) override {
        require(!seen_srid_ && open_.empty());
        seen_srid_ = true;
        return {};
    }
    Status coordinate(double, double, std::optional<double>, std::optional<double>, std::size_t) override {
        if (in_point_) {
            require(point_vertices_ == 0);
            ++point_vertices_;
        }
        return {};
    }
    Status vertices(const VertexRun& run) override {
        require_outside_point();
        if (input_.data() != nullptr) {
            const std::uint8_t* end = input_.data() + input_.size();
            require(run.data >= input_.data() && run.data <= end &&
                    run.count <= static_cast<std::size_t>(end - run.data) / run.vertex_bytes());
        }
        return Processor::vertices(run);
    }
    Status empty_point(std::size_t) override {
        require_outside_point();
        return {};
    }
    Status point_begin(std::size_t) override {
        require_outside_point();
        in_point_ = true;
        point_vertices_ = 0;
        return {};
    }
    Status point_end(std::size_t) override {
        require(in_point_ && point_vertices_ == 1);
        in_point_ = false;
        return {};
    }
    Status linestring_begin(bool tagged, std::size_t, std::size_t) override { return open(tagged ? 1 : 2); }
    Status linestring_end(bool tagged, std::size_t) override { return close(tagged ? 1 : 2); }
    Status polygon_begin(bool tagged, std::size_t, std::size_t) override { return open(tagged ? 3 : 4); }
    Status polygon_end(bool tagged, std::size_t) override { return close(tagged ? 3 : 4); }
    Status multipoint_begin(std::size_t, std::size_t) override { return open(5); }
    Status multipoint_end(std::size_t) override { return close(5); }
    Status multilinestring_begin(std::size_t, std::size_t) override { return open(6); }
    Status multilinestring_end(std::size_t) override { return close(6); }
    Status multipolygon_begin(std::size_t, std::size_t) override { return open(7); }
    Status multipolygon_end(std::size_t) override { return close(7); }
    Status geometrycollection_begin(std::size_t, std::size_t) override { return open(8); }
    Status geometrycollection_end(std::size_t) override { return close(8); }

private:
    static void require(bool condition) {
        if (!condition) std::abort();
    }
    void require_outside_point() const { require(!in_point_); }
    Status open(int kind) {
        require_outside_point();
        open_.push_back(kind);
        return {};
    }
    Status close(int kind) {
        require(!in_point_ && !open_.empty() && open_.back() == kind);
        open_.pop_back();
        return {};
    }

    std::span<const std::uint8_t> input_;
    std::vector<int> open_;
    bool in_point_ = false;
    int point_vertices_ = 0;
    bool seen_srid_ = false;
};

}  // namespace formats
