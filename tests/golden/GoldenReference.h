// What a golden render keeps of a render, and how two of them are compared.
//
// A render is reduced to an envelope (the RMS of each channel over every
// 10 ms window) and a few excerpts of exact samples. The envelope pins levels
// and timing over the whole render in little space; the excerpts pin the
// waveform itself (filter colour, distortion, phase). The file format is
// described in references/README.md.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/golden/GoldenSession.h"

namespace golden {

inline constexpr std::uint32_t kWindowFrames = 441;   // 10 ms at 44.1 kHz
inline constexpr std::uint32_t kExcerptFrames = 256;

struct Excerpt {
    std::uint32_t start = 0;
    std::vector<float> samples;  // kExcerptFrames frames, left and right interleaved
};

struct Summary {
    std::uint32_t frames = 0;
    std::vector<float> envelope;  // one RMS per window per channel, left and right interleaved
    std::vector<Excerpt> excerpts;
};

// The excerpts start at these fractions of the render.
Summary summarize(const StereoSignal& render);

bool writeSummary(const std::filesystem::path& path, const Summary& summary);
std::optional<Summary> readSummary(const std::filesystem::path& path);  // nullopt: missing or malformed

// Loose enough for another compiler, optimisation level or libm; tight
// enough that a quarter of a decibel on the wet path, or a take that starts
// one beat late, fails.
struct Tolerance {
    double envelopeMeanSquare = 1e-6;
    double envelopePeak = 2e-3;
    double sampleMeanSquare = 1e-6;
    double samplePeak = 2e-3;
};

struct Comparison {
    bool shapeMatches = false;  // same frame count, windows and excerpt positions
    double envelopeMeanSquare = 0.0;
    double envelopePeak = 0.0;
    double sampleMeanSquare = 0.0;
    double samplePeak = 0.0;

    bool within(const Tolerance& tolerance) const;  // false for NaN errors
    std::string describe() const;
};

Comparison compare(const Summary& reference, const Summary& actual);

// Compares a render with references/<name>.twgr and records a test failure
// when it differs or the reference is missing. With the environment variable
// TIDEWALKER_REGENERATE_GOLDEN=1 the reference is rewritten instead. With
// TIDEWALKER_GOLDEN_FULL=<folder> the whole render is also kept in, or held
// within 1e-4 of, <folder>/<name>.f32 (for changes that must not move the sound).
void checkAgainstReference(const std::string& name, const StereoSignal& render, const Tolerance& tolerance = {});

std::filesystem::path referencePath(const std::string& name);

}  // namespace golden
