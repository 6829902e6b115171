// The generator's own fixed-seed random numbers and hash noise, so the workspace is
// the same on every machine (the C library's rand differs between platforms).
#pragma once

#include <cmath>
#include <cstdint>

namespace trellisor::workspace {

// SplitMix64: small, fast and good enough for textures.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [lo, hi].
    int range(int lo, int hi) { return lo + int(next() % std::uint64_t(hi - lo + 1)); }

private:
    std::uint64_t m_state;
};

// A stateless hash of integer coordinates and a seed, uniform in [0, 1).
inline double hashUnit(int x, int y, std::uint32_t seed) {
    std::uint64_t h = std::uint64_t(std::uint32_t(x)) * 0x9E3779B97F4A7C15ull ^
                      std::uint64_t(std::uint32_t(y)) * 0xC2B2AE3D27D4EB4Full ^ (std::uint64_t(seed) << 17);
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return double(h >> 11) * (1.0 / 9007199254740992.0);
}

// Smooth value noise on a lattice that wraps every `period` cells, so a texture drawn
// with it repeats seamlessly (tiles sampled at 0..1 join their neighbours).
inline double periodicNoise(double x, double y, int period, std::uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    auto at = [&](int i, int j) {
        const int wi = ((i % period) + period) % period, wj = ((j % period) + period) % period;
        return hashUnit(wi, wj, seed);
    };
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
    const double b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
    return a + (b - a) * sy;
}

}  // namespace trellisor::workspace
