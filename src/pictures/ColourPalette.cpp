#include "pictures/ColourPalette.h"

#include <algorithm>
#include <limits>

namespace m3d {

namespace {

// Colours are gathered into bins of 5 bits a channel; each bin keeps the
// sum of its pixels' exact colours, so a palette entry is their true mean.
constexpr int kBinBits = 5;
constexpr int kBins = 1 << (3 * kBinBits);

int BinOf(const uint8_t* p)
{
    return (p[0] >> (8 - kBinBits)) << (2 * kBinBits) | (p[1] >> (8 - kBinBits)) << kBinBits | p[2] >> (8 - kBinBits);
}

struct Bin {
    uint64_t count = 0;
    uint64_t sum[3] = {0, 0, 0};
};

struct Box {
    std::vector<int> bins;
    uint64_t pixels = 0;
    int spread = 0;  // the widest channel's range, in bin steps
    int channel = 0;
};

int ChannelOf(int bin, int channel) { return (bin >> (kBinBits * (2 - channel))) & ((1 << kBinBits) - 1); }

void Measure(Box& box, const std::vector<Bin>& bins)
{
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    box.pixels = 0;
    for (int bin : box.bins) {
        box.pixels += bins[size_t(bin)].count;
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], ChannelOf(bin, c));
            high[c] = std::max(high[c], ChannelOf(bin, c));
        }
    }
    box.spread = -1;
    for (int c = 0; c < 3; ++c)
        if (high[c] - low[c] > box.spread) {
            box.spread = high[c] - low[c];
            box.channel = c;
        }
}

}  // namespace

IndexedImage QuantizeImage(const TextureImage& image, int maxColours, bool transparency)
{
    maxColours = std::clamp(maxColours, 1, 256);
    const size_t pixels = size_t(image.width) * size_t(image.height);
    const auto clear = [&](size_t i) { return transparency && image.rgba[i * 4 + 3] < 128; };
    std::vector<Bin> bins(kBins);
    bool anyClear = false;
    for (size_t i = 0; i < pixels; ++i) {
        if (clear(i)) {
            anyClear = true;
            continue;
        }
        Bin& bin = bins[size_t(BinOf(&image.rgba[i * 4]))];
        ++bin.count;
        for (int c = 0; c < 3; ++c) bin.sum[c] += image.rgba[i * 4 + size_t(c)];
    }
    const int colours = anyClear ? std::max(1, maxColours - 1) : maxColours;
    std::vector<Box> boxes(1);
    for (int b = 0; b < kBins; ++b)
        if (bins[size_t(b)].count > 0) boxes[0].bins.push_back(b);
    Measure(boxes[0], bins);
    // Split the box whose pixels spread the most (pixels times its widest
    // range), at the median of its pixels along that channel.
    while (int(boxes.size()) < colours) {
        Box* widest = nullptr;
        for (Box& box : boxes)
            if (box.bins.size() > 1 && box.spread > 0 &&
                (!widest || box.pixels * uint64_t(box.spread) > widest->pixels * uint64_t(widest->spread)))
                widest = &box;
        if (!widest) break;
        const int channel = widest->channel;
        std::sort(widest->bins.begin(), widest->bins.end(),
                  [channel](int a, int b) { return ChannelOf(a, channel) < ChannelOf(b, channel); });
        uint64_t below = 0;
        size_t cut = 1;
        for (; cut < widest->bins.size(); ++cut) {
            below += bins[size_t(widest->bins[cut - 1])].count;
            if (below * 2 >= widest->pixels) break;
        }
        cut = std::min(cut, widest->bins.size() - 1);
        Box upper;
        upper.bins.assign(widest->bins.begin() + std::ptrdiff_t(cut), widest->bins.end());
        widest->bins.resize(cut);
        Measure(*widest, bins);
        Measure(upper, bins);
        boxes.push_back(std::move(upper));
    }

    IndexedImage out;
    for (const Box& box : boxes) {
        if (box.bins.empty()) continue;
        uint64_t count = 0, sum[3] = {0, 0, 0};
        for (int bin : box.bins) {
            count += bins[size_t(bin)].count;
            for (int c = 0; c < 3; ++c) sum[c] += bins[size_t(bin)].sum[c];
        }
        out.palette.push_back({uint8_t((sum[0] + count / 2) / count), uint8_t((sum[1] + count / 2) / count),
                               uint8_t((sum[2] + count / 2) / count)});
    }
    if (out.palette.empty()) out.palette.push_back({0, 0, 0});
    if (anyClear) {
        out.transparentIndex = int(out.palette.size());
        out.palette.push_back({0, 0, 0});
    }
    // Each bin present takes its nearest entry, from the bin's mean colour.
    std::vector<int16_t> entryOf(kBins, -1);
    const int opaqueEntries = int(out.palette.size()) - (anyClear ? 1 : 0);
    for (int b = 0; b < kBins; ++b) {
        const Bin& bin = bins[size_t(b)];
        if (bin.count == 0) continue;
        int64_t best = std::numeric_limits<int64_t>::max();
        for (int e = 0; e < opaqueEntries; ++e) {
            int64_t distance = 0;
            for (int c = 0; c < 3; ++c) {
                const int64_t d = int64_t(bin.sum[c] / bin.count) - out.palette[size_t(e)][size_t(c)];
                distance += d * d;
            }
            if (distance < best) {
                best = distance;
                entryOf[size_t(b)] = int16_t(e);
            }
        }
    }
    out.indices.resize(pixels);
    for (size_t i = 0; i < pixels; ++i)
        out.indices[i] = clear(i) ? uint8_t(out.transparentIndex) : uint8_t(entryOf[size_t(BinOf(&image.rgba[i * 4]))]);
    return out;
}

}  // namespace m3d
