// Object files (.DAT): reading the head and the coded chunk into a PathObject,
// and writing a PathObject back as the game expects it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/Result.h"
#include "object/PathObject.h"

namespace trellisor {

enum class LoadOutcome {
    Loaded,      // the object is loaded; m_dataSize is the decoded length
    CannotOpen,  // nothing read; m_data none, m_dataSize 0
    NotAPath,    // object type is not 5: m_head holds the head read, m_data none, the rest as it was
    Malformed,   // refused; the object is left as a failed open leaves it (m_data none, m_dataSize 0)
};

struct LoadReport {
    LoadOutcome outcome = LoadOutcome::CannotOpen;
    std::string reason;  // one line, empty when Loaded; CannotOpen: the system's reason alone
};

// The largest decoded chunk (and object) accepted: real objects hold a few hundred
// KiB, so this only stops hostile files from taking unbounded memory.
inline constexpr std::uint32_t kMaxChunkBytes = 64u * 1024 * 1024;

// The message the editor shows for a file of another object type.
inline constexpr const char* kNotAPathMessage = "Error: Not a path file.";

// Reads an object file into obj (see LoadOutcome for what each failure leaves).
LoadReport loadObjectFile(PathObject& obj, const std::string& path);
// The same over bytes in memory (tests and fuzzers).
LoadReport readObjectBytes(PathObject& obj, std::span<const std::uint8_t> bytes);

// Brings obj into its canonical saved form (name from fileName, flags byte 0 = 5,
// chunk bytes 10/11, the twelve texts (a non-empty text of a language the table lacks is
// added in language order), count/size/sprite table, checksum,
// encoding 1) and returns the whole file: head, coded chunk, length patched.
// What the object was read from is kept where nothing changed it: a name that the file name
// gives without regard to case keeps its stored bytes; a chunk equal to the source file's
// keeps that file's run-length coding; and when the name and chunk are both as read and the
// source's checksum holds, the source file is returned whole (m_head becomes its head), so
// that Load then Save writes the bytes read whatever tool wrote them.
std::vector<std::uint8_t> serializeObjectFile(PathObject& obj, const std::string& fileName,
                                              const std::array<std::string, kLanguageCount>& texts);

// Writes obj to path as Save does; the file at path is replaced only once the
// new file has been written whole, and becomes the object's source file. Refuses (object
// unchanged) when nothing is loaded.
Status saveObjectFile(PathObject& obj, const std::string& path, const std::string& fileName,
                      const std::array<std::string, kLanguageCount>& texts);

// Whether the checksum in the object's head is the one its name and chunk give.
bool checksumMatches(const PathObject& obj);

// The texts the object holds for languages 0..11 ("" where absent), as Save would keep them.
std::array<std::string, kLanguageCount> objectStrings(const PathObject& obj);

// The string table's entries (language code, text) in table order.
std::vector<std::pair<int, std::string>> stringTableEntries(const PathObject& obj);

}  // namespace trellisor
