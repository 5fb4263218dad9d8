#include "platform/PreferenceFile.h"

#include "platform/DurableFile.h"
#include "platform/Locations.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace {

// Anything larger is not a preference file of ours; it is set aside rather
// than read into memory.
constexpr off_t kMaxFileBytes = 4 * 1024 * 1024;

enum class Loaded { Missing, Parsed, Broken, Unreadable };

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool readAll(int fd, std::string& text)
{
    char chunk[8192];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (text.size() + static_cast<std::size_t>(got) > static_cast<std::size_t>(kMaxFileBytes)) return false;
        text.append(chunk, static_cast<std::size_t>(got));
    }
}

bool onlyWhitespace(const std::string& text)
{
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

Loaded load(const std::string& path, nlohmann::json& object)
{
    // Non-blocking, so that a FIFO in the file's place cannot hang the caller.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return errno == ENOENT ? Loaded::Missing : Loaded::Unreadable;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return Loaded::Unreadable;
    if (!S_ISREG(info.st_mode) || info.st_size > kMaxFileBytes) return Loaded::Broken;
    std::string text;
    if (!readAll(file.get(), text)) return text.size() > 0 ? Loaded::Broken : Loaded::Unreadable;
    if (onlyWhitespace(text)) {
        object = nlohmann::json::object();
        return Loaded::Parsed;
    }
    object = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    return object.is_object() ? Loaded::Parsed : Loaded::Broken;
}

bool makeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Renames a file we cannot parse to <path>.broken-<UTC time>[-n], keeping
// every earlier broken copy.
bool setAside(const std::string& path)
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    char stamp[32] = "unknown-time";
    if (gmtime_r(&now, &utc) != nullptr) std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
    const std::string base = path + ".broken-" + stamp;
    for (int n = 1; n < 1000; ++n) {
        const std::string target = n == 1 ? base : base + "-" + std::to_string(n);
        struct stat info {};
        if (::lstat(target.c_str(), &info) == 0) continue;
        return ::rename(path.c_str(), target.c_str()) == 0;
    }
    return false;
}

// A store kept elsewhere and linked into place (dotfile managers do this)
// stays linked: the file the link points to is the one replaced.
std::string linkTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

}  // namespace

PreferenceFile::PreferenceFile(std::string folder)
    : folder_(std::move(folder)), path_(folder_.empty() ? std::string{} : folder_ + "/" + kPreferenceFileName)
{
}

std::optional<nlohmann::json> PreferenceFile::read(const std::string& key) const
{
    try {
        nlohmann::json object = readAll();
        const auto found = object.find(key);
        if (found == object.end()) return std::nullopt;
        return std::move(*found);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

nlohmann::json PreferenceFile::readAll() const
{
    try {
        nlohmann::json object;
        if (!path_.empty() && load(path_, object) == Loaded::Parsed) return object;
    } catch (const std::exception&) {
        // Unreadable counts as empty, as for a single key.
    }
    return nlohmann::json::object();
}

bool PreferenceFile::write(const std::string& key, const nlohmann::json& value)
{
    try {
        return writeAll(nlohmann::json::object({{key, value}}));
    } catch (const std::exception&) {
        return false;
    }
}

bool PreferenceFile::writeAll(const nlohmann::json& changes)
{
    if (path_.empty() || folder_.front() != '/' || !changes.is_object()) return false;
    try {
        if (!makeFolders(folder_)) return false;
        FileDescriptor lock(::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
        if (lock.get() < 0) return false;
        int locked;
        do {
            locked = ::flock(lock.get(), LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) return false;

        nlohmann::json object = nlohmann::json::object();
        switch (load(path_, object)) {
        case Loaded::Parsed:
            break;
        case Loaded::Missing:
            object = nlohmann::json::object();
            break;
        case Loaded::Broken:
            if (!setAside(path_)) return false;
            object = nlohmann::json::object();
            break;
        case Loaded::Unreadable:
            // Writing now would replace keys we could not see.
            return false;
        }
        object.update(changes);
        // dump() refuses text that is not valid UTF-8 by throwing.
        return replaceFileDurably(linkTarget(path_), object.dump(2) + "\n", 0644, ".tmp");
    } catch (const std::exception&) {
        return false;
    }
}
