// Runs the real trellisor-cli on files the tests build.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "object/ObjectFile.h"
#include "support/SceneObject.h"
#include "support/TempDir.h"

namespace trellisor::test {

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs the program in dir (so grass.pcx is looked up there); its output goes to files in dir.
inline CliRun runCli(const TempDir& dir, const std::vector<std::string>& args) {
    auto quote = [](const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    std::string cmd = "cd " + quote(dir.path()) + " && " + quote(TRELLISOR_CLI_PATH);
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " >" + quote(dir.file("cli.out")) + " 2>" + quote(dir.file("cli.err"));
    const int status = std::system(cmd.c_str());
    auto text = [&dir](const char* name) {
        const auto bytes = dir.read(name);
        return std::string(bytes.begin(), bytes.end());
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text("cli.out"), text("cli.err")};
}

// A run that succeeds says nothing on stderr (Qt's warnings included).
inline CliRun runOk(const TempDir& dir, const std::vector<std::string>& args) {
    CliRun r = runCli(dir, args);
    EXPECT_EQ(r.exitCode, 0) << args[0] << ": " << r.err;
    EXPECT_EQ(r.err, "") << args[0];
    return r;
}

// The given exit code and exactly one line on stderr that contains part.
inline void expectOneLineFailure(const CliRun& r, const std::string& part, int exitCode = 1) {
    EXPECT_EQ(r.exitCode, exitCode) << part;
    EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
    EXPECT_TRUE(!r.err.empty() && r.err.find('\n') == r.err.size() - 1) << r.err;
}

// The program running in dir in the background, its stdout read line by line (stderr goes to
// dir/cli.err). A session still running at the end is killed.
class CliSession {
public:
    CliSession(const TempDir& dir, const std::vector<std::string>& args) {
        int out[2];
        if (::pipe(out) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], 1);
            std::freopen(dir.file("cli.err").c_str(), "w", stderr);
            ::close(out[0]);
            if (::chdir(dir.path().c_str()) != 0) ::_exit(127);
            // Ctrl+C reaches it even when the tests run where it is ignored (in the background).
            std::signal(SIGINT, SIG_DFL);
            std::vector<char*> argv{const_cast<char*>(TRELLISOR_CLI_PATH)};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(TRELLISOR_CLI_PATH, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        m_out = out[0];
    }
    ~CliSession() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) ::close(m_out);
    }
    // The next line without its newline; "" when none comes within the wait (a hung program).
    std::string nextLine(std::chrono::milliseconds wait = std::chrono::seconds(20)) {
        const auto end = std::chrono::steady_clock::now() + wait;
        for (;;) {
            if (auto newline = m_buffer.find('\n'); newline != std::string::npos) {
                std::string line = m_buffer.substr(0, newline);
                m_buffer.erase(0, newline + 1);
                return line;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd p{m_out, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0) return "";
            char chunk[4096];
            const ssize_t n = ::read(m_out, chunk, sizeof chunk);
            if (n <= 0) return "";
            m_buffer.append(chunk, std::size_t(n));
        }
    }
    // Sends a signal and waits for the end: the exit code, -1 when ended by a signal.
    int stop(int signal) {
        ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buffer;
};

// The scene object with all twelve texts, written as an uncoded file IN.DAT.
inline std::string writeScene(const TempDir& dir) {
    return dir.write("IN.DAT", storedObjectFile(buildChunk(twelveStrings("Scene"), sceneSprites())));
}
inline PathObject loadFile(const std::string& path) {
    PathObject obj;
    EXPECT_EQ(loadObjectFile(obj, path).outcome, LoadOutcome::Loaded) << path;
    return obj;
}

}  // namespace trellisor::test
