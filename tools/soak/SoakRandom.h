#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

namespace m3d::soak {

// The soak's random choices, all from one seed. Only the choosing of steps
// draws from it; a replay reads the steps from the log instead.
class SoakRandom {
public:
    explicit SoakRandom(uint64_t seed) : engine(seed) {}

    // An integer in low ... high (both included).
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); }
    // true with probability p.
    bool Chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(engine) < p; }
    // The index of one of weights, each as likely as its weight (all zero: 0).
    size_t Weighted(const std::vector<double>& weights)
    {
        double total = 0;
        for (double w : weights) total += w;
        if (total <= 0) return 0;
        double at = std::uniform_real_distribution<double>(0.0, total)(engine);
        for (size_t i = 0; i < weights.size(); ++i) {
            if (at < weights[i]) return i;
            at -= weights[i];
        }
        return weights.size() - 1;
    }
    size_t Weighted(std::initializer_list<double> weights) { return Weighted(std::vector<double>(weights)); }
    // A copy of one element of items (not empty).
    template <typename T>
    T Pick(const std::vector<T>& items)
    {
        return items[size_t(Between(0, int(items.size()) - 1))];
    }

private:
    std::mt19937_64 engine;
};

}  // namespace m3d::soak
