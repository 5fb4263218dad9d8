// The benchmarks build real instances, which read their preferences: they
// get a private, empty configuration folder instead of the user's.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tidewalker-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    ::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    ::setenv("XDG_DATA_HOME", pattern.c_str(), 1);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return 0;
}
