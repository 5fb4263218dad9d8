#include "tests/support/XServer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern char** environ;

namespace tidewalker::testing {

void PrivateXServer::SetUp() {
    if (std::getenv("DISPLAY")) return;
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    // The server picks a free display number and writes it to the pipe;
    // -noreset keeps it up when the last test client leaves.
    const char* argv[] = {"Xvfb",      "-displayfd", fd.c_str(), "-screen",  "0", "2400x1400x24",
                          "-nolisten", "tcp",        "-noreset", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) pid = 0;
    std::string number;
    char c;
    while (spawned == 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) setenv("DISPLAY", (":" + number).c_str(), 1);
}

void PrivateXServer::TearDown() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

}  // namespace tidewalker::testing
