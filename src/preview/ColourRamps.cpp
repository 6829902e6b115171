// Ramp arithmetic over palette indices and the parsing of protection lists.
#include "preview/ColourRamps.h"

#include <cstdlib>
#include <string>

namespace trellisor {

int rampOfColour(std::uint8_t c) {
    // C++ division truncates toward zero, so 0..9 land in ramp 0 with the first shades.
    return (int(c) - kFirstRampIndex) / kShadesPerRamp;
}

int shadeOfColour(std::uint8_t c) { return (int(c) - kFirstRampIndex) % kShadesPerRamp; }

std::uint8_t recolourIndex(std::uint8_t c, std::uint8_t ramp) {
    return std::uint8_t((kShadesPerRamp * int(ramp) + kFirstRampIndex + shadeOfColour(c)) & 0xFF);
}

bool isRampProtected(const ProtectedRamps& marks, int ramp) {
    return ramp >= 0 && ramp < kRampCount && marks[std::size_t(ramp)];
}

bool parseProtectedRamps(const char* text, ProtectedRamps& out) {
    ProtectedRamps marks{};
    std::string s = text ? text : "";
    if (s == "all") {
        marks.fill(true);
        out = marks;
        return true;
    }
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t comma = s.find(',', pos);
        std::string item = s.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        if (item.empty() || item.size() > 2 || item.find_first_not_of("0123456789") != std::string::npos)
            return false;
        int ramp = std::atoi(item.c_str());
        if (ramp >= kRampCount) return false;
        marks[std::size_t(ramp)] = true;
        if (comma == std::string::npos) break;
        pos = comma + 1;
        if (pos == s.size()) return false;  // trailing comma
    }
    out = marks;
    return true;
}

}  // namespace trellisor
