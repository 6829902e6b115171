// trellisor: the path object editor.
#include "app/EditorApp.h"

int main(int argc, char** argv) {
    if (const auto answered = trellisor::EditorApp::answerHelpOrVersion(argc, argv)) return *answered;
    trellisor::EditorApp app(argc, argv);
    return app.run();
}
