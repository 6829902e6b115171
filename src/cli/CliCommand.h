// One trellisor-cli command: its name, usage line, help text and what it runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace trellisor {

struct CliCommand {
    std::string name;
    std::string synopsis;  // arguments after the name, e.g. "IN OUT"
    std::string help;      // one or a few sentences
    // Runs with the arguments after the command name; returns the exit code (0 or 1).
    std::function<int(const std::vector<std::string>& args)> run;
};

}  // namespace trellisor
