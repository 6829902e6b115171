// trellisor-cli palette: the game palette as a file for paint programs.
#pragma once

#include <vector>

#include "cli/CliCommand.h"

namespace trellisor {

void registerPaletteCommand(std::vector<CliCommand>& commands);

}  // namespace trellisor
