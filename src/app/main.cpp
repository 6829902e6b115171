// trellisor: the path object editor.
#include "app/EditorApp.h"

int main(int argc, char** argv) {
    trellisor::EditorApp app(argc, argv);
    return app.run();
}
