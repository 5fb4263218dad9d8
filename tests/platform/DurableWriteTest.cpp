// The preference store and ECS files replace the old file only once the new
// one is on disk. This binary is linked with fsync and rename wrapped, so it
// sees which files were flushed before each rename.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "PlatformTestSupport.h"
#include "platform/Preferences.h"
#include "plugin/EcsFile.h"

namespace {

std::set<std::filesystem::path> flushed;
// Each rename's target, and whether its source had been flushed first.
std::vector<std::pair<std::filesystem::path, bool>> renames;

}  // namespace

extern "C" int __real_fsync(int fd);
extern "C" int __real_rename(const char* from, const char* to);

extern "C" int __wrap_fsync(int fd) {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
    if (!error) flushed.insert(path);
    return __real_fsync(fd);
}

extern "C" int __wrap_rename(const char* from, const char* to) {
    std::error_code error;
    const bool wasFlushed = flushed.erase(std::filesystem::canonical(from, error)) > 0;
    renames.emplace_back(to, wasFlushed);
    return __real_rename(from, to);
}

TEST(DurableWrites, PreferencesAndEcsFilesAreFlushedBeforeTheyTakeTheRealName) {
    IsolatedHome home;
    const auto ecs = home.root.path / "map.ecs";
    ASSERT_TRUE(saveIntToPrefs("7", 3));
    ASSERT_TRUE(writeEcsFile(ecs.c_str(), ControllerAssignments{}));
    using Rename = std::pair<std::filesystem::path, bool>;
    EXPECT_EQ(renames, (std::vector<Rename>{{home.userFile(), true}, {ecs, true}}));
}
