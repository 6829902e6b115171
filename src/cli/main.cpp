// trellisor-cli: headless commands over path object files; each command is registered by its topic.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliSupport.h"
#include "cli/ObjectCommands.h"
#include "cli/PreviewCommands.h"
#include "trellisor/Version.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("trellisor-cli %s\n", trellisor::kTrellisorVersion);
        return 0;
    }
    std::vector<trellisor::CliCommand> commands;
    trellisor::registerObjectCommands(commands);
    trellisor::registerPreviewCommands(commands);
    return trellisor::dispatchCommand(commands, std::vector<std::string>(argv + 1, argv + argc));
}
