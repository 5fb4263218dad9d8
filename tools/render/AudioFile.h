// Audio in and out of tidewalker-render: sources that feed the effect and the
// WAV writer that only shows its file once the render has succeeded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/render/DemoSignal.h"

struct sf_private_tag;

namespace render {

// Stereo frames in file order; mono sources feed both sides.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual double sampleRate() const = 0;  // any
    virtual std::int64_t frames() const = 0;  // any
    // Fills up to count frames and returns how many it filled; 0 at the end.
    virtual std::size_t read(float* left, float* right, std::size_t count) = 0;  // control
    // Why the last read stopped early, if it was not the end of the source.
    virtual std::string error() const { return {}; }  // control
};

class MemorySource final : public AudioSource {
public:
    explicit MemorySource(StereoBuffer buffer);  // control
    double sampleRate() const override;  // any
    std::int64_t frames() const override;  // any
    std::size_t read(float* left, float* right, std::size_t count) override;  // control

private:
    StereoBuffer buffer;
    std::size_t position = 0;
};

class SoundFileSource final : public AudioSource {
public:
    // Null with a message when the file cannot be read or has more than two channels.
    static std::unique_ptr<SoundFileSource> open(const std::string& path, std::string& error);  // control
    ~SoundFileSource() override;
    SoundFileSource(const SoundFileSource&) = delete;
    SoundFileSource& operator=(const SoundFileSource&) = delete;

    double sampleRate() const override;  // any
    std::int64_t frames() const override;  // any
    std::size_t read(float* left, float* right, std::size_t count) override;  // control
    std::string error() const override;  // control

private:
    SoundFileSource(sf_private_tag* file, int channels, double rate, std::int64_t frames, std::string path);

    sf_private_tag* file;
    int channels;
    double rate;
    std::int64_t frameCount;
    std::string path;
    std::string readError;
    std::vector<float> interleaved;
};

// True when both paths name one existing file (hard links and symlinks included).
// any
bool sameFile(const std::string& a, const std::string& b);

// Writes a stereo 32-bit float WAV into a hidden temporary file beside the
// target and renames it into place on commit, so an abandoned or failed render
// leaves nothing behind and a reader never sees half a file.
class AtomicWavWriter {
public:
    // The RIFF size fields are 32-bit; two floats per frame, room for the header.
    static constexpr std::size_t kMaxWavFrames = (0xFFFFFFFFull - 1024) / 8;

    // Null with a message when the target cannot be written, is a folder or is
    // the same file as protectedInput.
    static std::unique_ptr<AtomicWavWriter> create(const std::string& path, double sampleRate,
                                                   const std::string& protectedInput, std::string& error);  // control
    ~AtomicWavWriter();  // removes the temporary file unless committed
    AtomicWavWriter(const AtomicWavWriter&) = delete;
    AtomicWavWriter& operator=(const AtomicWavWriter&) = delete;

    bool write(const float* left, const float* right, std::size_t frames, std::string& error);  // control
    bool commit(std::string& error);  // control

private:
    AtomicWavWriter(std::string target, std::string temp, int fd, sf_private_tag* file);
    void discard();

    std::string targetPath;
    std::string tempPath;
    int fd;
    sf_private_tag* file;
    bool committed = false;
    std::size_t framesWritten = 0;
    std::vector<float> interleaved;
};

}  // namespace render
