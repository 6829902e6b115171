// trellisor-workspace DIR: writes the sample workspace (grass, starter types, their
// descriptor lists and sample objects) into DIR.
#include <cstdio>
#include <string_view>

#include "trellisor/Version.h"
#include "workspace/Workspace.h"

namespace {

constexpr const char* kHelp =
    "Usage: trellisor-workspace DIR\n"
    "Writes a starter workspace for the Visual Trellisor editor into DIR (created if missing):\n"
    "the grass picture grass.pcx, starter path, railing, queue and support types (.PTH) with\n"
    "their descriptor lists, and two sample objects, SAMPLE.DAT and SAMPLE2.DAT.\n"
    "Start the editor in DIR to use them: cd DIR && trellisor SAMPLE.DAT\n"
    "\n"
    "Options:\n"
    "  -h, --help     Displays this help.\n"
    "  -v, --version  Displays version information.\n";

}  // namespace

int main(int argc, char** argv) {
    const std::string_view arg = argc == 2 ? argv[1] : "";
    if (arg == "--help" || arg == "-h") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (arg == "--version" || arg == "-v") {
        std::printf("trellisor-workspace %s\n", trellisor::kTrellisorVersion);
        return 0;
    }
    if (argc != 2 || arg.starts_with('-')) {
        std::fprintf(stderr, "usage: trellisor-workspace DIR (see trellisor-workspace --help)\n");
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
