// The sample workspace: the starter types of every page, their type files and
// descriptor lists, the grass picture and sample objects assembled from the types.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "object/PathObject.h"
#include "workspace/SpriteEncoding.h"

namespace trellisor::workspace {

inline constexpr const char* kGrassFileName = "grass.pcx";

// One starter type: the page it belongs to, the name shown in the type combo, its
// file, how to draw its sprites and (for supports) the two flag bytes.
struct StarterType {
    int page = 0;
    std::string name;
    std::string fileName;
    std::function<std::vector<SpriteData>()> draw;
    std::uint8_t supportType = 0;
    std::uint8_t pathFlags = 0;
};

// Every starter type, grouped by page in descriptor order.
const std::vector<StarterType>& starterTypes();
const StarterType* findStarterType(const std::string& name);

// A sample object: one named starter type per page (Path, Path Railings, Queue,
// Queue Railings, Supports) and the text saved for all twelve languages.
struct SampleObject {
    std::string fileName;
    std::string text;
    std::string types[5];
};
const std::vector<SampleObject>& sampleObjects();

// An object with no sprites, as New starts one (59-byte chunk, twelve one-space texts).
PathObject emptyObject();

// An object holding the given sprites at the page's indices (all-zero headers before
// them), with the two flag bytes set: the source of the page's type file.
PathObject pageObject(int page, const std::vector<SpriteData>& sprites, std::uint8_t supportType,
                      std::uint8_t pathFlags);

// Writes the whole workspace into dir (created if missing): grass, type files,
// descriptor files, sample objects. Files already there are replaced.
Status writeWorkspace(const std::string& dir);

}  // namespace trellisor::workspace
