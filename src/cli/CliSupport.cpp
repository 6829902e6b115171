// Shared pieces of the trellisor-cli commands: dispatch and help, argument parsing,
// page names, loading and saving, Windows-1252 text and JSON output.
#include "cli/CliSupport.h"

#include <cstdio>
#include <iostream>

#include "base/Files.h"
#include "object/ObjectFile.h"
#include "preview/PreviewIcons.h"

namespace trellisor {

int cliFail(const std::string& message) {
    std::string line = message;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    std::cerr << "trellisor-cli: " << line << std::endl;
    return 1;
}

std::string commandsHelp(const std::vector<CliCommand>& commands) {
    std::string text =
        "Usage: trellisor-cli COMMAND [ARGUMENTS]\n"
        "Reads, edits and writes path object files (.DAT) and type files (.PTH) without the editor.\n"
        "Success exits 0; a failure exits 1 with one line on stderr.\n"
        "Pages: path, path-railings, queue, queue-railings, supports.\n"
        "\nCommands:\n";
    for (const auto& c : commands) {
        text += "  " + c.name + (c.synopsis.empty() ? "" : " " + c.synopsis) + "\n";
        text += "      " + c.help + "\n";
    }
    text += "\n  trellisor-cli COMMAND --help shows one command.\n";
    return text;
}

int dispatchCommand(const std::vector<CliCommand>& commands, const std::vector<std::string>& args) {
    if (args.empty()) return cliFail("no command given; see trellisor-cli --help");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << commandsHelp(commands);
        return 0;
    }
    for (const auto& c : commands) {
        if (c.name != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        for (const auto& a : rest) {
            if (a == "--help" || a == "-h") {
                std::cout << "Usage: trellisor-cli " << c.name << " " << c.synopsis << "\n" << c.help << "\n";
                return 0;
            }
        }
        return c.run(rest);
    }
    return cliFail("unknown command '" + args[0] + "'; see trellisor-cli --help");
}

Result<ParsedArgs> parseArgs(const std::vector<std::string>& args, const std::set<std::string>& knownFlags,
                             const std::set<std::string>& knownOptions, std::size_t expectedPositional) {
    using R = Result<ParsedArgs>;
    ParsedArgs parsed;
    bool onlyPositional = false;
    // A leading '-' marks an option, except in a negative number (a brightness step count).
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!onlyPositional && a == "--") {
            onlyPositional = true;
        } else if (!onlyPositional && a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
            if (knownFlags.count(a)) {
                parsed.flags.insert(a);
            } else if (knownOptions.count(a)) {
                if (i + 1 >= args.size()) return R::fail("option " + a + " needs a value");
                parsed.options[a] = args[++i];
            } else {
                return R::fail("unknown option " + a);
            }
        } else {
            parsed.positional.push_back(a);
        }
    }
    if (parsed.positional.size() != expectedPositional)
        return R::fail("expected " + std::to_string(expectedPositional) + " arguments, got " +
                       std::to_string(parsed.positional.size()));
    return R::ok(std::move(parsed));
}

Result<int> pageFromName(const std::string& name) {
    static const char* const names[5] = {"path", "path-railings", "queue", "queue-railings", "supports"};
    for (int i = 0; i < 5; ++i)
        if (name == names[i]) return Result<int>::ok(i);
    return Result<int>::fail("unknown page '" + name +
                             "' (pages: path, path-railings, queue, queue-railings, supports)");
}

Result<PathObject> loadForCli(const std::string& path) {
    PathObject obj;
    LoadReport report = loadObjectFile(obj, path);
    if (report.outcome == LoadOutcome::Loaded) return Result<PathObject>::ok(std::move(obj));
    if (report.outcome == LoadOutcome::CannotOpen) return Result<PathObject>::fail(report.reason);
    return Result<PathObject>::fail(path + ": " + report.reason);
}

Status saveAsEditor(PathObject& obj, const std::string& path,
                    const std::array<std::string, kLanguageCount>& texts) {
    return saveObjectFile(obj, path, fileNameOf(path), texts);
}

void rebuildIconsUnless(bool keepIcons, PathObject& obj) {
    if (!keepIcons) composePreviewIcons(obj);
}

namespace {

// Code points of the bytes 0x80..0x9F; the five unassigned bytes keep their own value.
constexpr char32_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        auto b = std::uint8_t(ch);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char32_t(b));
    }
    return out;
}

std::string utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = std::uint8_t(utf8[i]);
        char32_t cp = 0;
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        bool valid = len != 0 && i + len <= utf8.size();
        if (valid) {
            cp = len == 1 ? b : char32_t(b & (0x7F >> len));
            for (std::size_t k = 1; k < len; ++k) {
                auto c = std::uint8_t(utf8[i + k]);
                if ((c & 0xC0) != 0x80) valid = false;
                cp = (cp << 6) | (c & 0x3F);
            }
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        i += len;
        char byte = '?';
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = char(cp);
        } else {
            for (int k = 0; k < 32; ++k)
                if (kHighControls[k] == cp) byte = char(0x80 + k);
        }
        out += byte;
    }
    return out;
}

void JsonWriter::separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back()) m_out += ',';
        m_first.back() = false;
    }
}

void JsonWriter::quoted(std::string_view s) {
    m_out += '"';
    for (char ch : s) {
        auto c = std::uint8_t(ch);
        if (c == '"' || c == '\\') {
            m_out += '\\';
            m_out += ch;
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            m_out += buf;
        } else {
            m_out += ch;
        }
    }
    m_out += '"';
}

void JsonWriter::beginObject() {
    separate();
    m_out += '{';
    m_first.push_back(true);
}
void JsonWriter::endObject() {
    m_out += '}';
    m_first.pop_back();
}
void JsonWriter::beginArray() {
    separate();
    m_out += '[';
    m_first.push_back(true);
}
void JsonWriter::endArray() {
    m_out += ']';
    m_first.pop_back();
}
void JsonWriter::key(std::string_view k) {
    separate();
    quoted(k);
    m_out += ':';
    m_afterKey = true;
}
void JsonWriter::string(std::string_view utf8) {
    separate();
    quoted(utf8);
}
void JsonWriter::number(long long n) {
    separate();
    m_out += std::to_string(n);
}
void JsonWriter::boolean(bool b) {
    separate();
    m_out += b ? "true" : "false";
}

}  // namespace trellisor
