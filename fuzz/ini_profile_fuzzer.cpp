// libFuzzer target for the INI profile. The input is the file; the names found in it serve as
// sections and keys. A value written under one of them reads back, every other key reads as
// before, and the saved file reads back the same.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/config/profile.h"
#include "fuzz/scratch_folder.h"

namespace {

constexpr char kDefault[] = "\x01 none";

// Up to four distinct runs of name characters from the input, and one name it may lack.
std::vector<std::string> namesIn(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> names;
    std::string run;
    for (std::size_t i = 0; i <= size && names.size() < 4; ++i) {
        const bool nameCharacter = i < size && (std::isalnum(data[i]) || data[i] == '_');
        if (nameCharacter) {
            run += static_cast<char>(data[i]);
        } else if (!run.empty()) {
            bool seen = false;
            for (const std::string& name : names) {
                seen = seen || name == run;
            }
            if (!seen) {
                names.push_back(run);
            }
            run.clear();
        }
    }
    names.push_back("Absent");
    return names;
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> readAll(const verada::IniProfile& profile,
                                 const std::vector<std::string>& names) {
    std::vector<std::string> values;
    for (const std::string& section : names) {
        for (const std::string& key : names) {
            values.push_back(profile.readString(section, key, kDefault, 4096));
        }
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = verada::fuzz::writeInput("Verada.cfg", data, size).string();
    verada::IniProfile profile = verada::IniProfile::load(path);
    const std::vector<std::string> names = namesIn(data, size);
    const std::vector<std::string> before = readAll(profile, names);

    const std::string& section = names[size > 0 ? data[0] % names.size() : 0];
    const std::string& key = names[size > 1 ? data[1] % names.size() : 0];
    const std::string value = "written " + std::to_string(size);
    profile.writeString(section, key, value);
    if (profile.readString(section, key, kDefault) != value) {
        std::abort();
    }
    const std::vector<std::string> after = readAll(profile, names);
    for (std::size_t s = 0; s < names.size(); ++s) {
        for (std::size_t k = 0; k < names.size(); ++k) {
            const std::size_t at = s * names.size() + k;
            const bool written = sameName(names[s], section) && sameName(names[k], key);
            if (!written && after[at] != before[at]) {
                std::abort();
            }
        }
    }
    if (!profile.save() || readAll(verada::IniProfile::load(path), names) != after) {
        std::abort();
    }
    return 0;
}
