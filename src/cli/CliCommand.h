// One trellisor-cli command and the command line it is run with: the command's
// positionals and options are declared to QCommandLineParser, which gives its --help,
// refuses unknown options and holds the values.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trellisor {

class CommandLine;

struct CliArgument {
    std::string name;  // e.g. "IN"
    std::string help;
    bool repeats = false;  // the last argument only: one or more values ("PATH...")
};

struct CliCommand {
    std::string name;
    std::vector<CliArgument> arguments;  // the positionals, in order
    std::string description;             // one or a few sentences
    QList<QCommandLineOption> options;
    // Runs once the line is parsed and has as many positionals as arguments (at least as many
    // when the last one repeats); returns the exit code.
    std::function<int(const CommandLine&)> run;
};

// A parsed command line of one command.
class CommandLine {
public:
    CommandLine(const CliCommand& command, const QCommandLineParser& parser,
                std::vector<std::string> positionals)
        : m_command(command), m_parser(parser), m_positionals(std::move(positionals)) {}

    const std::string& name() const { return m_command.name; }
    // Positional i as a local file-system string (what the shell passed).
    const std::string& positional(std::size_t i) const { return m_positionals.at(i); }
    const std::string& lastPositional() const { return m_positionals.back(); }
    // Every positional from i on (the values of a repeating last argument).
    std::vector<std::string> positionalsFrom(std::size_t i) const {
        return {m_positionals.begin() + std::ptrdiff_t(std::min(i, m_positionals.size())),
                m_positionals.end()};
    }
    bool isSet(const char* option) const;
    std::optional<std::string> value(const char* option) const;
    // Prints "trellisor-cli: NAME: reason" and returns exit code 1.
    int fail(const std::string& reason) const;

private:
    const CliCommand& m_command;
    const QCommandLineParser& m_parser;
    std::vector<std::string> m_positionals;
};

// Prints "trellisor-cli: message" as one line on stderr and returns exit code 1.
int cliFail(const std::string& message);

// Runs the command named by args[0] (args excludes the program name); --help lists all.
int dispatchCommand(const std::vector<CliCommand>& commands, const QStringList& args);

}  // namespace trellisor
