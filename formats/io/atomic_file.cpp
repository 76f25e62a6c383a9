#include "formats/io/atomic_file.h"

#include <cerrno>
#include <cstdint>
#include <random>

#include <fcntl.h>
#include <unistd.h>

namespace verada {
namespace {

constexpr int kNameAttempts = 100;

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A hidden name beside the target, so that searches such as the packer's "KL-*.*" never pick
// up a leftover: ".NAME.tmp" first, then ".NAME.XXXXXXXX.tmp" with random letters while a name
// is taken.
std::string temporaryName(const std::string& target, int attempt, std::mt19937_64& random) {
    std::size_t slash = target.find_last_of('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (attempt == 0) {
        return folder + "." + name + ".tmp";
    }
    static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix(8, '0');
    for (char& c : suffix) {
        c = kLetters[random() % (sizeof kLetters - 1)];
    }
    return folder + "." + name + "." + suffix + ".tmp";
}

void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

AtomicFile::AtomicFile(std::string target, Durability durability)
    : target_(std::move(target)), durability_(durability) {
    // Seeded only when the first name is taken: setting up the system's random source cost
    // more than writing a small file, and an unpack writes thousands of them.
    std::mt19937_64 random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (attempt == 1) {
            std::random_device seed;
            random.seed((std::uint64_t{seed()} << 32) ^ seed());
        }
        std::string name = temporaryName(target_, attempt, random);
        // O_EXCL never opens an existing file, and with O_NOFOLLOW never follows a link
        // planted under the name.
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return;
        }
        stream_ = ::fdopen(fd, "wb");
        if (stream_ == nullptr) {
            int error = errno;
            ::close(fd);
            ::unlink(name.c_str());
            errno = error;
            return;
        }
        temporary_ = std::move(name);
        return;
    }
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::discard() {
    if (stream_ == nullptr) {
        return;
    }
    int error = errno;
    std::fclose(stream_);
    stream_ = nullptr;
    ::unlink(temporary_.c_str());
    errno = error;
}

std::size_t AtomicFile::write(const void* bytes, std::size_t size) {
    if (stream_ == nullptr || size == 0) {
        return 0;
    }
    return std::fwrite(bytes, 1, size, stream_);
}

bool AtomicFile::commit() {
    if (stream_ == nullptr) {
        return false;
    }
    bool synced = durability_ == Durability::Synced;
    if (std::fflush(stream_) != 0 || std::ferror(stream_) ||
        (synced && ::fsync(::fileno(stream_)) != 0)) {
        discard();
        return false;
    }
    std::FILE* stream = stream_;
    stream_ = nullptr;
    if (std::fclose(stream) != 0 || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary_.c_str());
        errno = error;
        return false;
    }
    // The new file is in place; a folder that cannot be synced (some file systems refuse)
    // does not undo that.
    if (synced) {
        syncFolder(folderOf(target_));
    }
    return true;
}

}  // namespace verada
