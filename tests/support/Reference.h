// Results compared with reference files under tests/data: pictures with PNG files a person
// can open, long byte results with hex files. On a mismatch the actual result (and, for a
// picture, a difference picture) goes to the test output folder, and the failure names those
// files, how many pixels or bytes differ and where the first one is.
// TRELLISOR_REFRESH_REFERENCES=1 (scripts/refresh-references.sh) rewrites the references instead.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trellisor::test {

// A picture to compare: palette indices with their palette, or true colour.
struct RefPicture {
    int width = 0;
    int height = 0;
    bool indexed = false;
    std::vector<std::uint32_t> pixels;   // indexed: the index; true colour: 0xAARRGGBB
    std::vector<std::uint32_t> palette;  // indexed: 0xFFRRGGBB per index
};

// name is a path under tests/data without its extension ("preview/example-path-8").
// tolerance lets true-colour pixels differ by that much per channel: antialiased drawing by Qt's
// raster engine takes SIMD paths chosen at run time, which round a step apart between CPUs.
::testing::AssertionResult matchesReference(const RefPicture& actual, const std::string& name,
                                            int tolerance = 0);
::testing::AssertionResult matchesReferenceBytes(std::span<const std::uint8_t> actual,
                                                 const std::string& name);

// A case's text as a parameterised test's name: letters and digits kept, the rest '_'.
inline std::string caseName(std::string_view text) {
    std::string name;
    for (char c : text) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

}  // namespace trellisor::test
