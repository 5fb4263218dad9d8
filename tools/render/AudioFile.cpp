#include "tools/render/AudioFile.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace render {

MemorySource::MemorySource(StereoBuffer buffer) : buffer(std::move(buffer)) {}

double MemorySource::sampleRate() const { return buffer.sampleRate; }

std::int64_t MemorySource::frames() const { return static_cast<std::int64_t>(buffer.left.size()); }

std::size_t MemorySource::read(float* left, float* right, std::size_t count) {
    const std::size_t available = std::min(buffer.left.size(), buffer.right.size()) - position;
    const std::size_t n = std::min(count, available);
    std::copy_n(buffer.left.data() + position, n, left);
    std::copy_n(buffer.right.data() + position, n, right);
    position += n;
    return n;
}

std::unique_ptr<SoundFileSource> SoundFileSource::open(const std::string& path, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1 || info.channels > 2) {
        error = path + " has " + std::to_string(info.channels) +
                " channels; only mono and stereo files can be rendered";
        sf_close(file);
        return nullptr;
    }
    if (info.samplerate <= 0) {
        error = path + " has no usable sample rate";
        sf_close(file);
        return nullptr;
    }
    return std::unique_ptr<SoundFileSource>(
        new SoundFileSource(file, info.channels, info.samplerate, std::max<sf_count_t>(info.frames, 0), path));
}

SoundFileSource::SoundFileSource(SNDFILE* file, int channels, double rate, std::int64_t frames, std::string path)
    : file(file), channels(channels), rate(rate), frameCount(frames), path(std::move(path)) {}

SoundFileSource::~SoundFileSource() { sf_close(file); }

double SoundFileSource::sampleRate() const { return rate; }

std::int64_t SoundFileSource::frames() const { return frameCount; }

std::size_t SoundFileSource::read(float* left, float* right, std::size_t count) {
    interleaved.resize(count * static_cast<std::size_t>(channels));
    const sf_count_t got = sf_readf_float(file, interleaved.data(), static_cast<sf_count_t>(count));
    if (got < static_cast<sf_count_t>(count) && sf_error(file) != SF_ERR_NO_ERROR) {
        readError = "reading " + path + " failed: " + sf_strerror(file);
    }
    const auto n = static_cast<std::size_t>(std::max<sf_count_t>(got, 0));
    for (std::size_t i = 0; i < n; ++i) {
        left[i] = interleaved[i * channels];
        right[i] = interleaved[i * channels + (channels - 1)];
    }
    return n;
}

std::string SoundFileSource::error() const { return readError; }

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (a.empty() || b.empty() || ::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) {
        return false;
    }
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new hidden file beside target; the permissions follow the umask
// like any other file the user creates.
int createTemporary(const std::string& target, std::string& tempPath, std::string& error) {
    const std::string stem = folderOf(target) + "/." + nameOf(target) + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + std::to_string(attempt) + ".part";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EEXIST) {
            error = "cannot write to " + folderOf(target) + ": " + std::strerror(errno);
            return -1;
        }
    }
    error = "cannot find a free temporary name beside " + target;
    return -1;
}

}  // namespace

std::unique_ptr<AtomicWavWriter> AtomicWavWriter::create(const std::string& path, double sampleRate,
                                                         const std::string& protectedInput, std::string& error) {
    if (path.empty()) {
        error = "no output file given";
        return nullptr;
    }
    if (sameFile(path, protectedInput)) {
        error = "refusing to overwrite the input " + protectedInput + "; choose another output with -o";
        return nullptr;
    }
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        error = path + " is a folder; give a file name with -o";
        return nullptr;
    }
    const auto rate = static_cast<int>(sampleRate);
    if (rate <= 0 || static_cast<double>(rate) != sampleRate) {
        error = "a WAV file needs a whole positive sample rate";
        return nullptr;
    }

    std::string tempPath;
    const int fd = createTemporary(path, tempPath, error);
    if (fd < 0) {
        return nullptr;
    }
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
    if (file == nullptr) {
        error = "cannot start " + path + ": " + sf_strerror(nullptr);
        ::close(fd);
        ::unlink(tempPath.c_str());
        return nullptr;
    }
    return std::unique_ptr<AtomicWavWriter>(new AtomicWavWriter(path, tempPath, fd, file));
}

AtomicWavWriter::AtomicWavWriter(std::string target, std::string temp, int fd, SNDFILE* file)
    : targetPath(std::move(target)), tempPath(std::move(temp)), fd(fd), file(file) {}

AtomicWavWriter::~AtomicWavWriter() {
    if (!committed) {
        discard();
    }
}

void AtomicWavWriter::discard() {
    if (file != nullptr) {
        sf_close(file);
        file = nullptr;
    }
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    ::unlink(tempPath.c_str());
}

bool AtomicWavWriter::write(const float* left, const float* right, std::size_t frames, std::string& error) {
    if (file == nullptr) {
        error = "the output is already closed";
        return false;
    }
    if (frames > kMaxWavFrames - framesWritten) {
        error = targetPath + " would pass the 4 GiB size limit of a WAV file; render a shorter piece";
        return false;
    }
    interleaved.resize(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        interleaved[2 * i] = left[i];
        interleaved[2 * i + 1] = right[i];
    }
    const sf_count_t written = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames));
    if (written != static_cast<sf_count_t>(frames)) {
        error = "writing " + targetPath + " failed: " + sf_strerror(file);
        return false;
    }
    framesWritten += frames;
    return true;
}

bool AtomicWavWriter::commit(std::string& error) {
    if (file == nullptr) {
        error = "the output is already closed";
        return false;
    }
    const int closeResult = sf_close(file);
    file = nullptr;
    if (closeResult != 0) {
        error = "finishing " + targetPath + " failed: " + sf_error_number(closeResult);
        discard();
        return false;
    }
    // The data must be on disk before the name points at it.
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    const bool closed = ::close(fd) == 0;
    fd = -1;
    if (!synced || !closed) {
        error = "finishing " + targetPath + " failed: " + std::strerror(synced ? errno : syncError);
        discard();
        return false;
    }
    if (::rename(tempPath.c_str(), targetPath.c_str()) != 0) {
        error = "cannot put the result at " + targetPath + ": " + std::strerror(errno);
        discard();
        return false;
    }
    committed = true;
    return true;
}

}  // namespace render
