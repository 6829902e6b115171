// Dispatch, help and parsing of trellisor-cli command lines over QCommandLineParser.
#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <iostream>

#include "cli/CliCommand.h"
#include "object/Pages.h"
#include "trellisor/Version.h"

namespace trellisor {

namespace {

constexpr const char* kProgram = "trellisor-cli";

const QCommandLineOption& helpOption() {
    static const QCommandLineOption option(QStringList{"h", "help"}, "Shows this help.");
    return option;
}

std::string local(const QString& text) { return QFile::encodeName(text).toStdString(); }

// A step count such as "-3" is a positional, not an option: it is marked before parsing
// and unmarked after, so the parser passes it through.
const QString kNegativeMark = QStringLiteral("\uE000");
QString markNegativeNumber(const QString& arg) {
    return arg.size() > 1 && arg[0] == '-' && arg[1].isDigit() ? kNegativeMark + arg : arg;
}
QString unmark(QString arg) { return arg.startsWith(kNegativeMark) ? arg.mid(1) : arg; }

std::string usageName(const CliArgument& argument) { return argument.name + (argument.repeats ? "..." : ""); }

void describe(QCommandLineParser& parser, const CliCommand& command) {
    parser.setApplicationDescription(QString::fromStdString(command.description));
    parser.addOption(helpOption());
    parser.addOptions(command.options);
    for (const CliArgument& argument : command.arguments)
        parser.addPositionalArgument(QString::fromStdString(argument.name),
                                     QString::fromStdString(argument.help),
                                     QString::fromStdString(usageName(argument)));
}

// QCommandLineParser names the program by argv[0]; the help names it and the command
// as users type them.
std::string helpText(const QCommandLineParser& parser, const CliCommand& command) {
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const int end = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(usage) && end > 0)
        text.replace(0, end,
                     usage + QString::fromLatin1(kProgram) + ' ' + QString::fromStdString(command.name));
    return text.toStdString();
}

std::string commandsHelp(const std::vector<CliCommand>& commands) {
    std::string text =
        std::string("Usage: ") + kProgram +
        " COMMAND [ARGUMENTS]\n"
        "Reads, edits and writes path object files (.DAT) and type files (.PTH) without the editor.\n"
        "Success exits 0; a failure exits 1 with one line on stderr.\n"
        "Pages: " +
        spritePageCliNames() + ".\n\nCommands:\n";
    for (const auto& c : commands) {
        text += "  " + c.name;
        for (const auto& a : c.arguments) text += " " + usageName(a);
        for (const auto& o : c.options) {
            const QString name = o.names().constLast();
            text += " [" + std::string(name.size() > 1 ? "--" : "-") + name.toStdString() +
                    (o.valueName().isEmpty() ? "" : " " + o.valueName().toStdString()) + "]";
        }
        text += "\n      " + c.description + "\n";
    }
    text += std::string("\n  ") + kProgram + " COMMAND --help shows one command; " + kProgram +
            " --version shows the version.\n";
    return text;
}

int runCommand(const CliCommand& command, const QStringList& args) {
    QCommandLineParser parser;
    describe(parser, command);
    QStringList marked{QString::fromLatin1(kProgram)};
    for (const QString& a : args) marked << markNegativeNumber(a);
    if (!parser.parse(marked)) return cliFail(command.name + ": " + parser.errorText().toStdString());
    if (parser.isSet(helpOption())) {
        std::cout << helpText(parser, command);
        return 0;
    }
    std::vector<std::string> positionals;
    for (const QString& p : parser.positionalArguments()) positionals.push_back(local(unmark(p)));
    const std::size_t expected = command.arguments.size();
    const bool repeats = expected > 0 && command.arguments.back().repeats;
    if (repeats ? positionals.size() < expected : positionals.size() != expected)
        return cliFail(command.name + ": expected " + (repeats ? "at least " : "") +
                       std::to_string(expected) + " arguments, got " + std::to_string(positionals.size()));
    return command.run(CommandLine(command, parser, std::move(positionals)));
}

}  // namespace

// Asking about an option the command does not declare (the shared skeleton asks for
// --keep-icons and --rebuild-icons) answers "not set" instead of a warning from the parser.
bool CommandLine::isSet(const char* option) const {
    const QString name = QString::fromLatin1(option);
    return std::any_of(m_command.options.begin(), m_command.options.end(),
                       [&](const QCommandLineOption& o) { return o.names().contains(name); }) &&
           m_parser.isSet(name);
}

std::optional<std::string> CommandLine::value(const char* option) const {
    const QString name = QString::fromLatin1(option);
    if (!isSet(option)) return std::nullopt;
    return local(unmark(m_parser.value(name)));
}

int CommandLine::fail(const std::string& reason) const { return cliFail(m_command.name + ": " + reason); }

int cliFail(const std::string& message) {
    std::string line = message;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    std::cerr << kProgram << ": " << line << std::endl;
    return 1;
}

int dispatchCommand(const std::vector<CliCommand>& commands, const QStringList& args) {
    if (args.isEmpty()) return cliFail("no command given; see trellisor-cli --help");
    const std::string name = args.first().toStdString();
    if (name == "--help" || name == "-h" || name == "help") {
        std::cout << commandsHelp(commands);
        return 0;
    }
    if (name == "--version") {
        std::cout << kProgram << " " << kTrellisorVersion << "\n";
        return 0;
    }
    for (const auto& c : commands)
        if (c.name == name) return runCommand(c, args.mid(1));
    return cliFail("unknown command '" + name + "'; see trellisor-cli --help");
}

}  // namespace trellisor
