#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

extern char** environ;

namespace {

bool isExecutableFile(const std::string& path)
{
    return !path.empty() && ::access(path.c_str(), X_OK) == 0;
}

class SpawnActions {
public:
    SpawnActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnActions()
    {
        if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    bool ok() const { return ok_; }
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

int waitForExit(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void drain(int fd, std::string* output, std::size_t maxOutputBytes)
{
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) return;
        if (got < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (output != nullptr && output->size() < maxOutputBytes) {
            output->append(chunk, std::min(static_cast<std::size_t>(got), maxOutputBytes - output->size()));
        }
    }
}

}  // namespace

std::string findExecutable(const std::string& name)
{
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string{};
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const auto colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        // An empty entry means the current folder; a plug-in must not run
        // programs from wherever the host happens to be.
        if (!folder.empty() && folder.front() == '/') {
            const std::string candidate = std::string(folder) + "/" + name;
            if (isExecutableFile(candidate)) return candidate;
        }
        if (colon == std::string_view::npos) return {};
        folders.remove_prefix(colon + 1);
    }
}

ProcessResult runProcess(const std::vector<std::string>& argv, std::string* output, std::size_t maxOutputBytes)
{
    ProcessResult result;
    if (output != nullptr) output->clear();
    if (argv.empty()) return result;
    const std::string program = findExecutable(argv.front());
    if (program.empty()) return result;

    std::vector<char*> arguments;
    arguments.reserve(argv.size() + 1);
    for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);

    // Without a reader the program's output goes to /dev/null: a pipe would
    // also be held open by anything it leaves running, and we would wait for that.
    int pipeEnds[2] = {-1, -1};
    if (output != nullptr && ::pipe2(pipeEnds, O_CLOEXEC) != 0) return result;

    SpawnActions actions;
    const auto redirectStdout = [&] {
        return output != nullptr
                   ? ::posix_spawn_file_actions_adddup2(actions.get(), pipeEnds[1], STDOUT_FILENO) == 0
                   : ::posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0) == 0;
    };
    const bool prepared =
        actions.ok() &&
        ::posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
        redirectStdout() &&
        ::posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0) == 0 &&
        // The host's own descriptors are none of the helper's business.
        ::posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1) == 0;
    pid_t pid = -1;
    const bool spawned =
        prepared && ::posix_spawn(&pid, program.c_str(), actions.get(), nullptr, arguments.data(), environ) == 0;
    if (output != nullptr) ::close(pipeEnds[1]);
    if (!spawned) {
        if (output != nullptr) ::close(pipeEnds[0]);
        return result;
    }
    result.started = true;
    if (output != nullptr) {
        drain(pipeEnds[0], output, maxOutputBytes);
        ::close(pipeEnds[0]);
    }
    result.exitStatus = waitForExit(pid);
    return result;
}

bool openWithDesktop(const std::string& path)
{
    if (path.empty() || ::access(path.c_str(), R_OK) != 0 || findExecutable("xdg-open").empty()) return false;
    // setsid --fork leaves at once and lets xdg-open (and whatever viewer it
    // starts) live on its own, so nothing waits here and no zombie is left.
    const ProcessResult result = runProcess({"setsid", "--fork", "xdg-open", path});
    return result.started && result.exitStatus == 0;
}
