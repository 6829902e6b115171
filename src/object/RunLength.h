// The chunk's run-length coding and the object checksum.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/Result.h"

namespace trellisor {

// Decodes run-length records until the input ends; refuses a record cut off by
// the end of the input, or output beyond maxOutput bytes.
Result<std::vector<std::uint8_t>> decodeRunLength(std::span<const std::uint8_t> coded,
                                                  std::size_t maxOutput);

// The two halves of decodeRunLength, for a reader that decodes into its own buffer:
// measureRunLength checks every record and gives the decoded size (refusing as above);
// decodeRunLengthTo then writes exactly that many bytes (outSize, as measured) to out.
Result<std::size_t> measureRunLength(std::span<const std::uint8_t> coded, std::size_t maxOutput);
void decodeRunLengthTo(std::span<const std::uint8_t> coded, std::uint8_t* out, std::size_t outSize);

// Codes bytes with the game's run rules (repeats of 2..127, literal runs of 1..126).
std::vector<std::uint8_t> encodeRunLength(std::span<const std::uint8_t> bytes);

std::size_t countRepeatRun(const std::uint8_t* p, std::size_t remaining);
std::size_t countLiteralRun(const std::uint8_t* p, std::size_t remaining);

// Checksum over flags byte 0, the 8 name bytes and the decoded chunk.
std::uint32_t objectChecksum(std::uint8_t flagsByte0, const std::array<char, 8>& name,
                             std::span<const std::uint8_t> chunk);

}  // namespace trellisor
