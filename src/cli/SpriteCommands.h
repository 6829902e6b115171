// The sprite picture commands of trellisor-cli: sprites (export) and import-sprites.
#pragma once

#include <vector>

#include "cli/CliCommand.h"

namespace trellisor {

void registerSpriteCommands(std::vector<CliCommand>& commands);

}  // namespace trellisor
