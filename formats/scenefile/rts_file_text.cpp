#include "formats/scenefile/rts_file_text.h"

#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace verada {

void RtsFileText::Unmap::operator()(const char* data) const {
    ::munmap(const_cast<char*>(data), size);
}

RtsFileText RtsFileText::read(const std::string& path) {
    RtsFileText file;
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return file;
    }
    struct stat info {};
    bool regular = ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
    void* mapped = regular ? ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ,
                                    MAP_PRIVATE, descriptor, 0)
                           : MAP_FAILED;
    ::close(descriptor);
    if (mapped != MAP_FAILED) {
        file.mapped_ = std::unique_ptr<const char, Unmap>(
            static_cast<const char*>(mapped), Unmap{static_cast<std::size_t>(info.st_size)});
        return file;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    file.read_ = content.str();
    return file;
}

}  // namespace verada
