// trellisor-cli: headless commands over path object files; each command is registered by its topic.
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliSupport.h"
#include "cli/ObjectCommands.h"
#include "cli/PreviewCommands.h"

int main(int argc, char** argv) {
    std::vector<trellisor::CliCommand> commands;
    trellisor::registerObjectCommands(commands);
    trellisor::registerPreviewCommands(commands);
    return trellisor::dispatchCommand(commands, std::vector<std::string>(argv + 1, argv + argc));
}
