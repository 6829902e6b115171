// trellisor-cli: headless commands over path object files; each command is registered by its topic.
#include <QCoreApplication>
#include <vector>

#include "cli/CheckCommand.h"
#include "cli/CliCommand.h"
#include "cli/ObjectCommands.h"
#include "cli/PaletteCommand.h"
#include "cli/PreviewCommands.h"
#include "cli/SpriteCommands.h"
#include "cli/StringCommands.h"
#include "cli/WatchCommand.h"
#include "imageio/QuietMessages.h"

int main(int argc, char** argv) {
    trellisor::installQuietMessageHandler();  // one line per refusal: no library warnings
    QCoreApplication app(argc, argv);
    std::vector<trellisor::CliCommand> commands;
    trellisor::registerObjectCommands(commands);
    trellisor::registerPreviewCommands(commands);
    trellisor::registerStringCommands(commands);
    trellisor::registerPaletteCommand(commands);
    trellisor::registerCheckCommand(commands);
    trellisor::registerSpriteCommands(commands);
    trellisor::registerWatchCommand(commands);
    return trellisor::dispatchCommand(commands, QCoreApplication::arguments().mid(1));
}
