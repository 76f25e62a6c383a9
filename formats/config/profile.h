#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "formats/io/result.h"

namespace verada {

// An INI file with the semantics of the classic private-profile functions: sections and keys
// match case-insensitively and the first match wins, values are trimmed and lose enclosing
// quotes, missing entries give the caller's default. The file is parsed once and then served
// from memory; saving writes a temporary file and renames it over the original.
class IniProfile {
  public:
    // A missing or unreadable file gives an empty profile.
    static IniProfile load(const std::string& path);

    // At most bufferSize - 1 characters of the value are returned.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize = 256) const;
    // An optional sign and leading decimal digits; a value without digits reads as 0.
    int readInt(const std::string& section, const std::string& key, int defaultValue) const;
    bool hasKey(const std::string& section, const std::string& key) const {
        return find(section, key) != nullptr;
    }

    // Replaces the value in place, or appends the key to its section, or the section to the file.
    void writeString(const std::string& section, const std::string& key, const std::string& value);

    // Writes the profile to the path it was loaded from, through the atomic writer.
    Status save() const;

    // Adds the next line of a text (without its line end), for callers that parse a file in a
    // pass of their own.
    void parseLine(std::string_view text);
    // Look-ups try a section name exactly as written before the case-insensitive match, so
    // sections whose names differ only in case stay apart.
    void matchExactSectionNamesFirst() { exactSectionFirst_ = true; }

    const std::string& path() const { return path_; }

  private:
    struct Line {
        std::string text;
        std::string lowerKey;  // empty for lines that hold no key
        std::string value;
    };
    struct Section {
        std::string header;  // the "[name]" line as found; empty for the lines before any section
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> firstKey;
    };

    void parse(const std::string& content);
    const Section* findSection(const std::string& section) const;
    const Line* find(const std::string& section, const std::string& key) const;
    void addSection(std::string header, const std::string& name);

    std::string path_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> firstSection_;  // by lower-case name
    std::unordered_map<std::string, std::size_t> firstExactSection_;
    bool exactSectionFirst_ = false;
};

}  // namespace verada
