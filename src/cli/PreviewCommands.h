// The preview and colour commands of trellisor-cli: icons, render,
// brightness, recolour, import-bitmap, sparkles.
#pragma once

#include <vector>

#include "cli/CliCommand.h"

namespace trellisor {

void registerPreviewCommands(std::vector<CliCommand>& commands);

}  // namespace trellisor
