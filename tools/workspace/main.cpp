// trellisor-workspace OUTDIR: writes the sample workspace (grass, starter types, their
// descriptor lists and sample objects) into OUTDIR.
#include <cstdio>
#include <string>

#include "workspace/Workspace.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: trellisor-workspace OUTDIR\n");
        return 2;
    }
    const auto status = trellisor::workspace::writeWorkspace(argv[1]);
    if (!status) {
        std::fprintf(stderr, "trellisor-workspace: %s\n", status.error().c_str());
        return 1;
    }
    std::printf("sample workspace written to %s\n", argv[1]);
    return 0;
}
