// The string table commands of trellisor-cli, for translators: strings and set-strings.
#pragma once

#include <vector>

#include "cli/CliCommand.h"

namespace trellisor {

void registerStringCommands(std::vector<CliCommand>& commands);

}  // namespace trellisor
