// Units of length and of area. A unit is its code and its size in the base unit (metres or square
// metres); code 0, "other", names no unit of the tables and stands for the base unit itself, so a
// measure asked for in it comes out in metres or square metres and a conversion never fails.
#pragma once

#include <cstdint>

#include "model/object.h"

namespace model {

enum class UnitKind { Linear, Area };

class Unit : public Object {
public:
    // Throws model::EngineError for a code outside the kind's table.
    Unit(UnitKind kind, int32_t code);

    UnitKind kind() const { return kind_; }
    int32_t code() const { return code_; }
    // Metres or square metres per unit.
    double factor() const { return factor_; }

    double to_base(double value) const { return value * factor_; }
    double from_base(double value) const { return value / factor_; }
    // `value` in this unit expressed in `target`; exact between units of the same size.
    double convert_to(double value, const Unit& target) const {
        return factor_ == target.factor_ ? value : target.from_base(to_base(value));
    }

private:
    UnitKind kind_;
    int32_t code_;
    double factor_;
};

// A value in `unit` as metres or square metres, and back; none stands for the base unit itself.
inline double to_base(double value, const Unit* unit) { return unit == nullptr ? value : unit->to_base(value); }
inline double from_base(double value, const Unit* unit) { return unit == nullptr ? value : unit->from_base(value); }

}  // namespace model
