// Shared pieces of the trellisor-cli commands: argument parsing, page names, loading
// and saving as the editor does, text conversion and a small JSON writer.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "cli/CliCommand.h"
#include "object/PathObject.h"

namespace trellisor {

// Prints "trellisor-cli: message" as one line on stderr and returns exit code 1.
int cliFail(const std::string& message);

// Runs the command named by args[0] (args excludes the program name); --help lists all.
int dispatchCommand(const std::vector<CliCommand>& commands, const std::vector<std::string>& args);
std::string commandsHelp(const std::vector<CliCommand>& commands);

struct ParsedArgs {
    std::vector<std::string> positional;
    std::set<std::string> flags;                 // e.g. "--json"
    std::map<std::string, std::string> options;  // e.g. "--seed" -> "7"
};
// Splits args into positionals, known flags and known options with a value; refuses
// unknown options, missing values and a positional count other than expectedPositional.
Result<ParsedArgs> parseArgs(const std::vector<std::string>& args, const std::set<std::string>& knownFlags,
                             const std::set<std::string>& knownOptions, std::size_t expectedPositional);

// "path", "path-railings", "queue", "queue-railings", "supports" -> EditorPage 0..4.
Result<int> pageFromName(const std::string& name);

// Reads an object file; anything but a loaded path object is a one-line reason.
Result<PathObject> loadForCli(const std::string& path);

// Writes obj to path as the editor's Save does, the object name taken from path's file name.
Status saveAsEditor(PathObject& obj, const std::string& path,
                    const std::array<std::string, kLanguageCount>& texts);

// The editor rebuilds the two icon sprites from the others before it repaints and saves;
// commands that stand for an editor command call this before saving. The rebuild itself
// belongs to the preview layer and is wired in here once it exists; until then it does nothing.
void rebuildIconsUnless(bool keepIcons, PathObject& obj);

// Object texts are Windows-1252 bytes; JSON carries UTF-8. The five unassigned bytes keep
// their value as code points; characters without a Windows-1252 byte become '?'.
std::string windows1252ToUtf8(std::string_view bytes);
std::string utf8ToWindows1252(std::string_view utf8);

// A minimal JSON writer: values are appended in order, commas and escapes handled.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view k);
    void string(std::string_view utf8);
    void number(long long n);
    void boolean(bool b);
    const std::string& text() const { return m_out; }

private:
    void separate();
    void quoted(std::string_view s);

    std::string m_out;
    std::vector<bool> m_first;  // per open container: no element written yet
    bool m_afterKey = false;
};

}  // namespace trellisor
