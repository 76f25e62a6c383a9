#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace verada::fuzz {

// A folder of this process's own for the targets whose code under test takes paths; removed
// when the process ends. Put TMPDIR on a tmpfs (./dev fuzz uses /dev/shm) to keep the disk out.
const std::filesystem::path& scratchFolder();

// Writes the input under name in a fresh, empty folder of its own (scratchFolder()/run), which
// is the only thing the code under test may change; returns the file's path.
std::filesystem::path writeInput(const std::string& name, const std::uint8_t* data,
                                 std::size_t size);

}  // namespace verada::fuzz
