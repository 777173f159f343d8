// The demo's own random numbers. The same seed must give the same installation with every
// standard library, which the std distributions do not promise, so everything here is plain
// integer and IEEE arithmetic.
#pragma once

#include <cstdint>

namespace zepa {

struct DemoRandom {
    uint64_t state = 0;
};

// splitmix64: good enough for prices, and any seed (0 included) is a valid start.
inline uint64_t nextBits(DemoRandom& r) {
    uint64_t z = (r.state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// A stream of its own for each purpose, so that one more stock or position leaves the
// others as they were.
inline DemoRandom demoStream(uint64_t seed, uint64_t purpose) {
    DemoRandom r{seed ^ (purpose * 0xD1B54A32D192ED03ULL)};
    nextBits(r);
    return r;
}

// Uniform in [0, 1).
inline double uniform01(DemoRandom& r) {
    return static_cast<double>(nextBits(r) >> 11) * 0x1.0p-53;
}

// Uniform in [low, high].
inline int uniformInt(DemoRandom& r, int low, int high) {
    const uint64_t span = static_cast<uint64_t>(int64_t{high} - low) + 1;
    return static_cast<int>(low + static_cast<int64_t>(nextBits(r) % span));
}

// Roughly standard normal: the sum of twelve uniforms, which needs no libm call whose last
// bit could differ between platforms.
inline double gaussian(DemoRandom& r) {
    double sum = 0.0;
    for (int i = 0; i < 12; ++i) {
        sum += uniform01(r);
    }
    return sum - 6.0;
}

}  // namespace zepa
