// trellisor-cli watch: a sprite folder followed headless, OUT written again on each change.
#pragma once

#include <vector>

#include "cli/CliCommand.h"

namespace trellisor {

void registerWatchCommand(std::vector<CliCommand>& commands);

}  // namespace trellisor
