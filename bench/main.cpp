// The benchmarks build real instances, which read their preferences: they
// get a private, empty configuration folder instead of the user's.
//
// Absolute times on shared machines drift from run to run, so after the usual
// table every engine case is also given as a multiple of the plain reference
// workload timed in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr const char* kReference = "BM_PlainReference";

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto found = run.counters.find("ns_per_frame");
            if (run.run_type == Run::RT_Iteration && found != run.counters.end())
                perFrame[run.run_name.function_name].push_back(found->second.value);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto reference = perFrame.find(kReference);
        if (reference == perFrame.end()) return;
        const double unit = median(reference->second);
        std::printf("\n%-28s %10s %12s\n", "engine case", "ns/frame", "x reference");
        for (auto& [name, times] : perFrame) {
            const double ns = median(times);
            std::printf("%-28s %10.1f %12.2f\n", name.c_str(), ns, ns / unit);
        }
    }

private:
    static double median(std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
    }

    std::map<std::string, std::vector<double>> perFrame;
};

}  // namespace

int main(int argc, char** argv) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tidewalker-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    ::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    ::setenv("XDG_DATA_HOME", pattern.c_str(), 1);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return 0;
}
