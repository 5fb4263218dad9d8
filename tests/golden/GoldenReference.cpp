#include "tests/golden/GoldenReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace golden {
namespace {

constexpr std::uint32_t kMagic = 'T' | 'W' << 8 | 'G' << 16 | 'R' << 24;  // "TWGR" on disk
constexpr std::uint32_t kVersion = 1;
constexpr double kExcerptAt[] = {0.15, 0.4, 0.55, 0.75, 0.92};
constexpr double kFullRenderPeak = 1e-4;

struct ErrorSum {
    double squares = 0.0;
    double peak = 0.0;
    std::size_t count = 0;
    void add(const std::vector<float>& reference, const std::vector<float>& actual) {
        for (std::size_t i = 0; i < reference.size(); ++i, ++count) {
            const double d = static_cast<double>(actual[i]) - reference[i];
            squares += d * d;
            // NaN must not hide behind max().
            peak = std::isnan(d) || std::isnan(peak) ? NAN : std::max(peak, std::fabs(d));
        }
    }
    double meanSquare() const { return count ? squares / count : 0.0; }
};

// Whole renders are too big to keep in the repository, but a change that
// must not alter the sound can be held to every sample: with
// TIDEWALKER_GOLDEN_FULL=<folder> a render is written to <folder>/<name>.f32
// when no file is there yet, and otherwise compared with it sample by sample.
void checkAgainstFullRender(const std::string& name, const StereoSignal& render) {
    const char* folder = std::getenv("TIDEWALKER_GOLDEN_FULL");
    if (!folder || !*folder) return;
    const std::filesystem::path path = std::filesystem::path(folder) / (name + ".f32");
    const std::size_t frames = render.frames();
    std::vector<float> interleaved(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        interleaved[2 * i] = render.left[i];
        interleaved[2 * i + 1] = render.right[i];
    }
    const auto bytes = static_cast<std::streamsize>(interleaved.size() * sizeof(float));
    if (!std::filesystem::exists(path)) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(interleaved.data()), bytes);
        EXPECT_TRUE(out.good()) << "could not write " << path;
        return;
    }
    std::vector<float> before(interleaved.size());
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(before.data()), bytes);
    ASSERT_TRUE(in.gcount() == bytes && in.peek() == EOF) << path << " is not a render of the same length";
    ErrorSum error;
    error.add(before, interleaved);
    std::printf("%s: peak difference %.3g over the whole render\n", name.c_str(), error.peak);
    EXPECT_LE(error.peak, kFullRenderPeak) << name << " moved from its full render";
}

}  // namespace

Summary summarize(const StereoSignal& render) {
    Summary summary;
    const std::size_t frames = render.frames();
    summary.frames = static_cast<std::uint32_t>(frames);
    for (std::size_t start = 0; start + kWindowFrames <= frames; start += kWindowFrames) {
        for (const auto* c : {&render.left, &render.right}) {
            double sum = 0.0;
            for (std::size_t n = start; n < start + kWindowFrames; ++n) sum += static_cast<double>((*c)[n]) * (*c)[n];
            summary.envelope.push_back(static_cast<float>(std::sqrt(sum / kWindowFrames)));
        }
    }
    for (double fraction : kExcerptAt) {
        if (frames < kExcerptFrames) break;
        Excerpt excerpt;
        excerpt.start = static_cast<std::uint32_t>(std::min<std::size_t>(
            static_cast<std::size_t>(fraction * static_cast<double>(frames)), frames - kExcerptFrames));
        for (std::size_t n = excerpt.start; n < excerpt.start + kExcerptFrames; ++n) {
            excerpt.samples.push_back(render.left[n]);
            excerpt.samples.push_back(render.right[n]);
        }
        summary.excerpts.push_back(std::move(excerpt));
    }
    return summary;
}

// The file is a sequence of little-endian 32-bit words, whatever the machine.
bool writeSummary(const std::filesystem::path& path, const Summary& summary) {
    std::vector<std::uint32_t> words = {kMagic, kVersion, summary.frames, kWindowFrames,
                                        static_cast<std::uint32_t>(summary.envelope.size() / 2),
                                        static_cast<std::uint32_t>(summary.excerpts.size()), kExcerptFrames};
    const auto putFloats = [&](const std::vector<float>& values) {
        for (float v : values) words.push_back(std::bit_cast<std::uint32_t>(v));
    };
    putFloats(summary.envelope);
    for (const Excerpt& excerpt : summary.excerpts) {
        words.push_back(excerpt.start);
        putFloats(excerpt.samples);
    }
    std::vector<unsigned char> bytes;
    for (std::uint32_t word : words)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(word >> shift));
    // Through a temporary file, so an interrupted run leaves the old reference.
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

std::optional<Summary> readSummary(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in || bytes.size() % 4 != 0) return std::nullopt;
    std::vector<std::uint32_t> words(bytes.size() / 4);
    for (std::size_t i = 0; i < bytes.size(); ++i) words[i / 4] |= std::uint32_t{bytes[i]} << (8 * (i % 4));
    std::size_t at = 7;
    const auto floats = [&](std::vector<float>& values, std::size_t count) {
        if (words.size() - at < count) return false;
        for (std::size_t i = 0; i < count; ++i) values.push_back(std::bit_cast<float>(words[at++]));
        return true;
    };
    Summary summary;
    if (words.size() < at || words[0] != kMagic || words[1] != kVersion || words[3] != kWindowFrames ||
        words[6] != kExcerptFrames || !floats(summary.envelope, std::size_t{words[4]} * 2))
        return std::nullopt;
    summary.frames = words[2];
    for (std::uint32_t i = 0; i < words[5]; ++i) {
        if (words.size() - at < 1 + std::size_t{kExcerptFrames} * 2) return std::nullopt;
        Excerpt excerpt{words[at++], {}};
        floats(excerpt.samples, std::size_t{kExcerptFrames} * 2);
        summary.excerpts.push_back(std::move(excerpt));
    }
    if (at != words.size()) return std::nullopt;
    return summary;
}

bool Comparison::within(const Tolerance& t) const {
    return shapeMatches && envelopeMeanSquare <= t.envelopeMeanSquare && envelopePeak <= t.envelopePeak &&
           sampleMeanSquare <= t.sampleMeanSquare && samplePeak <= t.samplePeak;
}

std::string Comparison::describe() const {
    if (!shapeMatches) return "the render has a different length or layout than the reference";
    char text[200];
    std::snprintf(text, sizeof text, "envelope error: mean square %.3g, peak %.3g; sample error: mean square %.3g, peak %.3g",
                  envelopeMeanSquare, envelopePeak, sampleMeanSquare, samplePeak);
    return text;
}

Comparison compare(const Summary& reference, const Summary& actual) {
    Comparison result;
    result.shapeMatches = reference.frames == actual.frames && reference.envelope.size() == actual.envelope.size() &&
                          reference.excerpts.size() == actual.excerpts.size();
    for (std::size_t i = 0; result.shapeMatches && i < reference.excerpts.size(); ++i)
        result.shapeMatches = reference.excerpts[i].start == actual.excerpts[i].start &&
                              reference.excerpts[i].samples.size() == actual.excerpts[i].samples.size();
    if (!result.shapeMatches) return result;
    ErrorSum envelope, samples;
    envelope.add(reference.envelope, actual.envelope);
    for (std::size_t e = 0; e < reference.excerpts.size(); ++e)
        samples.add(reference.excerpts[e].samples, actual.excerpts[e].samples);
    result.envelopeMeanSquare = envelope.meanSquare();
    result.envelopePeak = envelope.peak;
    result.sampleMeanSquare = samples.meanSquare();
    result.samplePeak = samples.peak;
    return result;
}

std::filesystem::path referencePath(const std::string& name) {
    return std::filesystem::path(TIDEWALKER_SOURCE_DIR) / "tests" / "golden" / "references" / (name + ".twgr");
}

void checkAgainstReference(const std::string& name, const StereoSignal& render, const Tolerance& tolerance) {
    const Summary actual = summarize(render);
    const std::filesystem::path path = referencePath(name);
    if (const char* r = std::getenv("TIDEWALKER_REGENERATE_GOLDEN"); r && std::strcmp(r, "1") == 0) {
        EXPECT_TRUE(writeSummary(path, actual)) << "could not write " << path;
        std::printf("rewrote %s\n", path.c_str());
        return;
    }
    const std::optional<Summary> reference = readSummary(path);
    if (!reference) {
        ADD_FAILURE() << "no readable golden reference " << path
                      << "; if the sound is meant to be as it is now, run this test with "
                         "TIDEWALKER_REGENERATE_GOLDEN=1 and commit the new file";
        return;
    }
    checkAgainstFullRender(name, render);
    const Comparison comparison = compare(*reference, actual);
    EXPECT_TRUE(comparison.within(tolerance))
        << name << " no longer sounds like its reference: " << comparison.describe()
        << ". If the change is intended, regenerate with TIDEWALKER_REGENERATE_GOLDEN=1 and commit the new reference.";
}

}  // namespace golden
