// trellisor: the path object editor.
#include "app/EditorApp.h"
#include "imageio/QuietMessages.h"

int main(int argc, char** argv) {
    // What Qt and the picture libraries print is not for the user: the editor says what matters
    // in its own messages. (The test programs leave Qt's handler in place.)
    trellisor::installQuietMessageHandler();
    if (const auto answered = trellisor::EditorApp::answerHelpOrVersion(argc, argv)) return *answered;
    trellisor::EditorApp app(argc, argv);
    return app.run();
}
