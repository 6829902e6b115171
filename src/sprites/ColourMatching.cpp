// Nearest-colour matching with optional dithering.
#include "sprites/ColourMatching.h"

#include <algorithm>
#include <unordered_map>

#include "preview/BitmapImport.h"
#include "preview/GamePalette.h"

namespace trellisor {

namespace {

// The offsets of the ordered pattern span about one shade step of a ramp per channel.
constexpr int kOrderedSpread = 24;
constexpr std::array<std::array<int, 4>, 4> kBayer4 = {
    {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}}};

int clampChannel(float v) { return std::clamp(int(v + (v < 0 ? -0.5f : 0.5f)), 0, 255); }

bool opaque(const Rgba& c) { return c.alpha >= kOpaqueAlpha; }

// The nearest allowed colour, remembered per colour: a sprite holds few distinct colours,
// and even a dithered one repeats most of them.
class NearestColour {
public:
    explicit NearestColour(const Matching& m) : m_ramps(m.ramps) {}
    std::uint8_t operator()(int r, int g, int b) {
        const std::uint32_t key = std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
        auto [at, added] = m_memo.try_emplace(key, 0);
        if (added) at->second = matchPaletteColour(r, g, b, m_ramps);
        return at->second;
    }

private:
    const std::array<bool, kRampCount>& m_ramps;
    std::unordered_map<std::uint32_t, std::uint8_t> m_memo;
};

std::vector<std::uint8_t> matchPlain(const Picture& p, const Matching& m) {
    NearestColour nearest(m);
    std::vector<std::uint8_t> out(p.pixelCount(), 0);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const Rgba& c = p.colours[i];
        if (opaque(c)) out[i] = nearest(c.red, c.green, c.blue);
    }
    return out;
}

std::vector<std::uint8_t> matchOrdered(const Picture& p, const Matching& m) {
    NearestColour nearest(m);
    std::vector<std::uint8_t> out(p.pixelCount(), 0);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(p.width) + std::size_t(x);
            const Rgba& c = p.colours[i];
            if (!opaque(c)) continue;
            // Anchored at the drawing origin, so neighbouring tiles continue one pattern.
            const int cell = kBayer4[std::size_t((y + p.yOffset) & 3)][std::size_t((x + p.xOffset) & 3)];
            const float shift = (float(cell) + 0.5f) / 16.0f - 0.5f;
            const int d = int(shift * kOrderedSpread + (shift < 0 ? -0.5f : 0.5f));
            out[i] = nearest(std::clamp(c.red + d, 0, 255), std::clamp(c.green + d, 0, 255),
                             std::clamp(c.blue + d, 0, 255));
        }
    }
    return out;
}

std::vector<std::uint8_t> matchDiffused(const Picture& p, const Matching& m) {
    NearestColour nearest(m);
    const std::size_t w = std::size_t(p.width);
    std::vector<std::uint8_t> out(p.pixelCount(), 0);
    // The error carried to each pixel, three channels a pixel.
    std::vector<float> error(p.pixelCount() * 3, 0.0f);
    struct Share {
        int dx, dy;
        float weight;
    };
    constexpr std::array<Share, 4> kShares = {{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}};
    auto isOpaqueAt = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < p.width && y < p.height &&
               opaque(p.colours[std::size_t(y) * w + std::size_t(x)]);
    };
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const std::size_t i = std::size_t(y) * w + std::size_t(x);
            if (!opaque(p.colours[i])) continue;
            const Rgba& c = p.colours[i];
            const int want[3] = {clampChannel(c.red + error[3 * i]), clampChannel(c.green + error[3 * i + 1]),
                                 clampChannel(c.blue + error[3 * i + 2])};
            out[i] = nearest(want[0], want[1], want[2]);
            const RgbQuad got = previewColour(out[i]);
            const float miss[3] = {float(want[0] - got.red), float(want[1] - got.green),
                                   float(want[2] - got.blue)};
            // Only opaque neighbours take a share; theirs grow so that the whole error moves on.
            float total = 0;
            for (const Share& s : kShares)
                if (isOpaqueAt(x + s.dx, y + s.dy)) total += s.weight;
            if (total == 0) continue;
            for (const Share& s : kShares) {
                if (!isOpaqueAt(x + s.dx, y + s.dy)) continue;
                const std::size_t to = 3 * (std::size_t(y + s.dy) * w + std::size_t(x + s.dx));
                for (int ch = 0; ch < 3; ++ch) error[to + std::size_t(ch)] += miss[ch] * s.weight / total;
            }
        }
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> matchPicture(const Picture& picture, const Matching& matching) {
    if (!picture.isConsistent()) return {};
    if (picture.indexed) return picture.indices;
    switch (matching.dither) {
        case Dither::Diffusion:
            return matchDiffused(picture, matching);
        case Dither::Ordered:
            return matchOrdered(picture, matching);
        case Dither::None:
            break;
    }
    return matchPlain(picture, matching);
}

}  // namespace trellisor
