// trellisor-cli check: verdicts on every object file under folders.
#pragma once

#include <vector>

#include "cli/CliCommand.h"

namespace trellisor {

void registerCheckCommand(std::vector<CliCommand>& commands);

}  // namespace trellisor
