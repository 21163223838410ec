#pragma once
// RK numbers ([MS-XLS] 2.5.218): 30 bits of either a signed integer or the
// top of an IEEE double, optionally divided by 100.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace kasovka::detail {

inline double rkToDouble(uint32_t rk)
{
    double v;
    if (rk & 0x02) {
        v = double(int32_t(rk) >> 2);
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 0x01) ? v / 100 : v;
}

// The RK form of v when one decodes back to exactly v: an integer, the top
// of the double, or either of them for v * 100, tried in that order. Runs
// once per number written, so each form is tested directly.
inline std::optional<uint32_t> doubleToRk(double v)
{
    if (!std::isfinite(v) || (v == 0 && std::signbit(v)))
        return std::nullopt;
    constexpr double kMin = -536870912.0, kMax = 536870911.0; // 30-bit integers
    auto asInt = [](double w) -> std::optional<uint32_t> {
        if (!(w >= kMin && w <= kMax))
            return std::nullopt;
        const auto i = int32_t(w);
        if (double(i) != w)
            return std::nullopt;
        return uint32_t(i) << 2 | 0x02;
    };
    auto asDouble = [](double w) -> std::optional<uint32_t> {
        uint64_t bits;
        std::memcpy(&bits, &w, sizeof bits);
        if (bits & 0x00000003FFFFFFFFull)
            return std::nullopt;
        return uint32_t(bits >> 32);
    };
    if (auto rk = asInt(v))
        return rk;
    if (auto rk = asDouble(v))
        return rk;
    const double scaled = v * 100;
    for (auto rk : {asInt(scaled), asDouble(scaled)})
        if (rk && rkToDouble(*rk | 0x01) == v)
            return *rk | 0x01;
    return std::nullopt;
}

} // namespace kasovka::detail
