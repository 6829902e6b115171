// The sprite picture commands of trellisor-cli: sprites (export) and import-sprites,
// and the options of picture imports.
#pragma once

#include <QCommandLineOption>
#include <vector>

#include "base/Result.h"
#include "cli/CliCommand.h"
#include "sprites/ColourMatching.h"

namespace trellisor {

// --dither and --ramps, shared by the commands that import pictures.
QCommandLineOption ditherOption();
QCommandLineOption rampsOption();
// The colour matching those options ask for (the defaults when they are not given).
Result<Matching> matchingOf(const CommandLine& line);

void registerSpriteCommands(std::vector<CliCommand>& commands);

}  // namespace trellisor
