// A private Xvfb for tests that need a display, when none is set. Tests
// that find no display skip.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/Process.h"

extern char** environ;

namespace editortest {

class PrivateXServer : public ::testing::Environment {
public:
    void SetUp() override {
        if (std::getenv("DISPLAY")) return;
        const std::string xvfb = findExecutable("Xvfb");
        if (xvfb.empty()) return;
        int fds[2];
        if (pipe(fds) != 0) return;
        const std::string fd = std::to_string(fds[1]);
        // The server picks a free display number and writes it to the pipe.
        const char* argv[] = {xvfb.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "2400x1400x24",
                              "-nolisten",  "tcp",        "-noreset",  nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        // Not our output: a server outliving a crashed test must not hold a pipe open.
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int spawned = posix_spawn(&pid, xvfb.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (spawned != 0) {
            close(fds[0]);
            pid = 0;
            return;
        }
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) setenv("DISPLAY", (":" + number).c_str(), 1);
    }
    void TearDown() override {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }

private:
    pid_t pid = 0;
};

}  // namespace editortest
