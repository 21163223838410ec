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

// The RK form of v when one decodes back to exactly v.
inline std::optional<uint32_t> doubleToRk(double v)
{
    if (!std::isfinite(v) || (v == 0 && std::signbit(v)))
        return std::nullopt;
    auto exact = [v](uint32_t rk) -> std::optional<uint32_t> {
        if (rkToDouble(rk) == v)
            return rk;
        return std::nullopt;
    };
    auto asInt = [](double w, uint32_t flag) -> std::optional<uint32_t> {
        if (w != std::floor(w) || w < -536870912.0 || w > 536870911.0)
            return std::nullopt;
        return (uint32_t(int32_t(w)) << 2) | 0x02 | flag;
    };
    auto asDouble = [](double w, uint32_t flag) -> std::optional<uint32_t> {
        uint64_t bits;
        std::memcpy(&bits, &w, sizeof bits);
        if (bits & 0x00000003FFFFFFFFull)
            return std::nullopt;
        return uint32_t(bits >> 32) | flag;
    };
    for (auto rk : {asInt(v, 0), asDouble(v, 0), asInt(v * 100, 1), asDouble(v * 100, 1)})
        if (rk)
            if (auto ok = exact(*rk))
                return ok;
    return std::nullopt;
}

} // namespace kasovka::detail
