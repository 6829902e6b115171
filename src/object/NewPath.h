// New: a fresh object from one random type per page, plus the two icons.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/Result.h"
#include "object/DescriptorFile.h"
#include "object/PathObject.h"

namespace trellisor {

inline constexpr const char* kNewPathText = "New Path";

// Builds the new object in obj from typeLists (indexed by page 0..4), drawing
// the choices with std::rand. Refuses, leaving obj untouched, when a list is empty
// or a chosen type file cannot be read (the reason names the file).
Status assembleNewPath(PathObject& obj, const std::array<std::vector<TypeEntry>, 6>& typeLists,
                       const std::string& workingDirectory);

}  // namespace trellisor
