// trellisor-cli: headless commands over path object files; each command is registered by its topic.
#include <QCoreApplication>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/ObjectCommands.h"
#include "cli/PreviewCommands.h"
#include "cli/SpriteCommands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<trellisor::CliCommand> commands;
    trellisor::registerObjectCommands(commands);
    trellisor::registerPreviewCommands(commands);
    trellisor::registerSpriteCommands(commands);
    return trellisor::dispatchCommand(commands, QCoreApplication::arguments().mid(1));
}
