// The effect reads its preferences when it is built; golden renders must
// neither depend on nor touch the real ones, so the whole suite runs with a
// private, empty configuration folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class PrivateConfigHome : public ::testing::Environment {
public:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tidewalker-golden-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

private:
    std::filesystem::path folder;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

}  // namespace
