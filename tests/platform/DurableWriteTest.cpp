// The preference store and ECS files replace the old file only once the new
// one is on disk, and flush the folder after the rename so the rename itself
// survives a power cut. This binary is linked with fsync and rename wrapped,
// so it sees their order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PlatformTestSupport.h"
#include "platform/Preferences.h"
#include "plugin/EcsFile.h"

namespace {

// Every fsync and rename, in order, by real path.
std::vector<std::string> calls;

std::string real(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::weakly_canonical(path, error).string();
}

}  // namespace

extern "C" int __real_fsync(int fd);
extern "C" int __real_rename(const char* from, const char* to);

extern "C" int __wrap_fsync(int fd) {
    std::error_code error;
    calls.push_back("fsync " + std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string());
    return __real_fsync(fd);
}

extern "C" int __wrap_rename(const char* from, const char* to) {
    calls.push_back("rename " + real(from) + " > " + real(to));
    return __real_rename(from, to);
}

TEST(DurableWrites, PreferencesAndEcsFilesAreFlushedBeforeTheRenameAndTheirFolderAfterIt) {
    IsolatedHome home;
    const auto ecs = home.root.path / "map.ecs";
    ASSERT_TRUE(saveIntToPrefs("7", 3));
    ASSERT_TRUE(writeEcsFile(ecs.c_str(), ControllerAssignments{}));
    std::vector<std::string> expected;
    for (const auto& [file, suffix] : {std::pair{real(home.userFile()), ".tmp"}, std::pair{real(ecs), ".part"}}) {
        const std::string temporary = file + suffix;
        expected.insert(expected.end(), {"fsync " + temporary, "rename " + temporary + " > " + file,
                                         "fsync " + std::filesystem::path(file).parent_path().string()});
    }
    EXPECT_EQ(calls, expected);
}
