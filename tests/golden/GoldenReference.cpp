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

constexpr char kMagic[4] = {'T', 'W', 'G', 'R'};
constexpr std::uint32_t kVersion = 1;
constexpr double kExcerptAt[] = {0.15, 0.4, 0.55, 0.75, 0.92};

// Everything on disk is little-endian, whatever the machine.
void putWord(std::vector<unsigned char>& out, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>(word >> shift));
}

void putFloats(std::vector<unsigned char>& out, const std::vector<float>& values) {
    for (float v : values) putWord(out, std::bit_cast<std::uint32_t>(v));
}

class Reader {
public:
    explicit Reader(std::vector<unsigned char> bytes) : data(std::move(bytes)) {}
    bool word(std::uint32_t& value) {
        if (data.size() - at < 4) return false;
        value = 0;
        for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(data[at++]) << (8 * i);
        return true;
    }
    bool floats(std::vector<float>& values, std::size_t count) {
        if ((data.size() - at) / 4 < count) return false;
        values.resize(count);
        for (auto& v : values) {
            std::uint32_t bits = 0;
            word(bits);
            v = std::bit_cast<float>(bits);
        }
        return true;
    }
    bool finished() const { return at == data.size(); }

private:
    std::vector<unsigned char> data;
    std::size_t at = 0;
};

struct ErrorSum {
    double squares = 0.0;
    double peak = 0.0;
    std::size_t count = 0;
    void add(float reference, float actual) {
        const double d = static_cast<double>(actual) - reference;
        squares += d * d;
        // NaN must not hide behind max().
        peak = std::isnan(d) || std::isnan(peak) ? NAN : std::max(peak, std::fabs(d));
        ++count;
    }
    double meanSquare() const { return count ? squares / count : 0.0; }
};

}  // namespace

Summary summarize(const StereoSignal& render) {
    Summary summary;
    const std::size_t frames = render.frames();
    summary.frames = static_cast<std::uint32_t>(frames);
    for (std::size_t start = 0; start + kWindowFrames <= frames; start += kWindowFrames) {
        double left = 0.0, right = 0.0;
        for (std::size_t n = start; n < start + kWindowFrames; ++n) {
            left += static_cast<double>(render.left[n]) * render.left[n];
            right += static_cast<double>(render.right[n]) * render.right[n];
        }
        summary.envelope.push_back(static_cast<float>(std::sqrt(left / kWindowFrames)));
        summary.envelope.push_back(static_cast<float>(std::sqrt(right / kWindowFrames)));
    }
    if (frames >= kExcerptFrames) {
        for (double fraction : kExcerptAt) {
            Excerpt excerpt;
            excerpt.start = static_cast<std::uint32_t>(std::min<std::size_t>(
                static_cast<std::size_t>(fraction * static_cast<double>(frames)), frames - kExcerptFrames));
            for (std::size_t n = excerpt.start; n < excerpt.start + kExcerptFrames; ++n) {
                excerpt.samples.push_back(render.left[n]);
                excerpt.samples.push_back(render.right[n]);
            }
            summary.excerpts.push_back(std::move(excerpt));
        }
    }
    return summary;
}

bool writeSummary(const std::filesystem::path& path, const Summary& summary) {
    std::vector<unsigned char> bytes(std::begin(kMagic), std::end(kMagic));
    putWord(bytes, kVersion);
    putWord(bytes, summary.frames);
    putWord(bytes, kWindowFrames);
    putWord(bytes, static_cast<std::uint32_t>(summary.envelope.size() / 2));
    putWord(bytes, static_cast<std::uint32_t>(summary.excerpts.size()));
    putWord(bytes, kExcerptFrames);
    putFloats(bytes, summary.envelope);
    for (const Excerpt& excerpt : summary.excerpts) {
        putWord(bytes, excerpt.start);
        putFloats(bytes, excerpt.samples);
    }
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
    if (!in) return std::nullopt;
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    Reader reader(std::vector<unsigned char>(bytes.begin() + sizeof kMagic, bytes.end()));
    Summary summary;
    std::uint32_t version = 0, windowFrames = 0, windows = 0, excerpts = 0, excerptFrames = 0;
    if (!reader.word(version) || version != kVersion || !reader.word(summary.frames) ||
        !reader.word(windowFrames) || windowFrames != kWindowFrames || !reader.word(windows) ||
        !reader.word(excerpts) || !reader.word(excerptFrames) || excerptFrames != kExcerptFrames ||
        !reader.floats(summary.envelope, std::size_t{windows} * 2))
        return std::nullopt;
    for (std::uint32_t i = 0; i < excerpts; ++i) {
        Excerpt excerpt;
        if (!reader.word(excerpt.start) || !reader.floats(excerpt.samples, std::size_t{kExcerptFrames} * 2))
            return std::nullopt;
        summary.excerpts.push_back(std::move(excerpt));
    }
    if (!reader.finished()) return std::nullopt;
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
    for (std::size_t i = 0; i < reference.envelope.size(); ++i) envelope.add(reference.envelope[i], actual.envelope[i]);
    for (std::size_t e = 0; e < reference.excerpts.size(); ++e)
        for (std::size_t i = 0; i < reference.excerpts[e].samples.size(); ++i)
            samples.add(reference.excerpts[e].samples[i], actual.excerpts[e].samples[i]);
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
    const char* regenerate = std::getenv("TIDEWALKER_REGENERATE_GOLDEN");
    if (regenerate && std::strcmp(regenerate, "1") == 0) {
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
    const Comparison comparison = compare(*reference, actual);
    EXPECT_TRUE(comparison.within(tolerance))
        << name << " no longer sounds like its reference: " << comparison.describe()
        << ". If the change is intended, regenerate with TIDEWALKER_REGENERATE_GOLDEN=1 and commit the new reference.";
}

}  // namespace golden
