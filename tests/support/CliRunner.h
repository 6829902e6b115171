// Runs the real trellisor-cli on files the tests build.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include "object/ObjectFile.h"
#include "support/SceneObject.h"
#include "support/TempDir.h"

namespace trellisor::test {

// The program running in dir (so grass.pcx is looked up there), its stdout read as it comes and its
// stderr going to dir/cli.err. A session still running at the end is killed.
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
        stop(SIGKILL);
        if (m_out >= 0) ::close(m_out);
    }
    // The next line without its newline; "" when none comes within the wait (a hung program).
    std::string nextLine(std::chrono::milliseconds wait = std::chrono::seconds(20)) {
        const auto end = std::chrono::steady_clock::now() + wait;
        while (m_buffer.find('\n') == std::string::npos) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd p{m_out, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0 || !readMore()) return "";
        }
        std::string line = m_buffer.substr(0, m_buffer.find('\n'));
        m_buffer.erase(0, line.size() + 1);
        return line;
    }
    // Everything it writes until it closes its output.
    std::string rest() {
        while (readMore()) {
        }
        return std::exchange(m_buffer, "");
    }
    // Sends a signal (0: none) and waits for the end: the exit code, -1 when ended by a signal.
    int stop(int signal) {
        if (m_pid <= 0) return -1;
        ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    bool readMore() {
        char chunk[4096];
        const ssize_t n = ::read(m_out, chunk, sizeof chunk);
        if (n > 0) m_buffer.append(chunk, std::size_t(n));
        return n > 0;
    }
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buffer;
};

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

inline CliRun runCli(const TempDir& dir, const std::vector<std::string>& args) {
    CliSession session(dir, args);
    CliRun run{0, session.rest(), ""};
    run.exitCode = session.stop(0);
    const auto err = dir.read("cli.err");
    run.err.assign(err.begin(), err.end());
    return run;
}

// A run that succeeds says nothing on stderr (Qt's warnings included).
inline CliRun runOk(const TempDir& dir, const std::vector<std::string>& args) {
    CliRun r = runCli(dir, args);
    EXPECT_EQ(r.exitCode, 0) << args[0] << ": " << r.err;
    EXPECT_EQ(r.err, "") << args[0];
    return r;
}

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
