#pragma once

#include <cstddef>

/// @brief One made-up instrument the simulated back end trades: its code, a reference price, the
/// lot its order volumes are multiples of and the tick its prices are multiples of.
struct SimInstrument {
    const char* code;
    double price;
    int lot;
    double tick;
};

/// The simulated market: the made-up stocks and futures contracts the demo's quote board lists.
inline constexpr SimInstrument kSimInstruments[] = {
    {"600901", 18.42, 100, 0.01}, {"601288", 4.37, 100, 0.01}, {"000652", 9.86, 100, 0.01},
    {"300417", 36.15, 100, 0.01}, {"002508", 52.80, 100, 0.01}, {"601778", 13.09, 100, 0.01},
    {"IF2606", 3862.4, 1, 0.2},   {"AU2608", 562.36, 1, 0.02},  {"RB2610", 3471.0, 1, 1.0},
};
inline constexpr std::size_t kSimInstrumentCount = sizeof(kSimInstruments) / sizeof(kSimInstruments[0]);
