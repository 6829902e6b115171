// The object file commands of trellisor-cli (info, save, export-type, apply-type, new, set-flag).
#pragma once

#include <vector>

#include "cli/CliCommand.h"

namespace trellisor {

void registerObjectCommands(std::vector<CliCommand>& commands);

}  // namespace trellisor
