#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace verada {

// How hard a commit works to survive a crash of the machine.
enum class Durability {
    Synced,  // the file and its folder are fsync'ed: for every file the user saves
    Bulk,    // neither: for the many items of one unpack run, where speed matters more
};

// The one way a file is saved: the bytes go to a fresh temporary file beside the target
// (".NAME.tmp"), which replaces the target only when complete. The temporary is created
// exclusively and never through a link; when its name is taken (a file left by a crash, or a
// link planted there) a random one is tried instead, so nothing in the way blocks the save or
// is written through. Until commit() succeeds an existing target stays as it was; an
// uncommitted temporary is removed.
//
//     AtomicFile file(path);
//     if (!file.isOpen()) ...            // errno says why
//     std::fprintf(file.stream(), ...);  // or file.write(bytes, size)
//     if (!file.commit()) ...            // errno says why; the temporary is gone
class AtomicFile {
  public:
    explicit AtomicFile(std::string target, Durability durability = Durability::Synced);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool isOpen() const { return stream_ != nullptr; }

    // The buffered stream on the temporary file, for writers that stream their text.
    std::FILE* stream() const { return stream_; }
    // Returns how many of the bytes were accepted; fewer means the write failed.
    std::size_t write(const void* bytes, std::size_t size);

    // Flushes, (Synced:) fsyncs, renames the temporary over the target and (Synced:) fsyncs
    // the folder. False when the file could not be put in place, with the temporary removed
    // and the target untouched.
    bool commit();

  private:
    void discard();

    std::string target_;
    Durability durability_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
};

}  // namespace verada
