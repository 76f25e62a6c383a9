#include "formats/config/profile.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "formats/io/atomic_file.h"

namespace verada {
namespace {

std::string toLower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

IniProfile IniProfile::load(const std::string& path) {
    IniProfile profile;
    profile.path_ = path;
    std::ifstream in(path, std::ios::binary);
    if (in) {
        std::ostringstream content;
        content << in.rdbuf();
        profile.parse(content.str());
    } else {
        profile.sections_.push_back(Section{});
    }
    return profile;
}

void IniProfile::parse(const std::string& content) {
    sections_.clear();
    firstSection_.clear();
    firstExactSection_.clear();
    sections_.push_back(Section{});
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find('\n', pos);
        if (end == std::string::npos) {
            end = content.size();
        }
        parseLine(std::string_view(content).substr(pos, end - pos));
        pos = end + 1;
    }
}

void IniProfile::parseLine(std::string_view line) {
    if (sections_.empty()) {
        sections_.push_back(Section{});
    }
    std::string text(line);
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    std::string trimmed = trim(text);
    if (!trimmed.empty() && trimmed.front() == '[') {
        // Up to the last "]": names such as "Mesh:part[2]" hold brackets of their own.
        std::size_t close = trimmed.rfind(']');
        addSection(text, trim(trimmed.substr(
                             1, close == std::string::npos ? std::string::npos : close - 1)));
        return;
    }
    Line entry;
    entry.text = text;
    std::size_t equals = text.find('=');
    if (!trimmed.empty() && trimmed.front() != ';' && equals != std::string::npos) {
        entry.lowerKey = toLower(trim(text.substr(0, equals)));
        entry.value = unquote(trim(text.substr(equals + 1)));
    }
    Section& section = sections_.back();
    if (!entry.lowerKey.empty()) {
        section.firstKey.emplace(entry.lowerKey, section.lines.size());
    }
    section.lines.push_back(std::move(entry));
}

void IniProfile::addSection(std::string header, const std::string& name) {
    Section section;
    section.header = std::move(header);
    sections_.push_back(std::move(section));
    firstSection_.emplace(toLower(name), sections_.size() - 1);
    firstExactSection_.emplace(name, sections_.size() - 1);
}

const IniProfile::Section* IniProfile::findSection(const std::string& section) const {
    if (exactSectionFirst_) {
        auto exact = firstExactSection_.find(section);
        if (exact != firstExactSection_.end()) {
            return &sections_[exact->second];
        }
    }
    auto s = firstSection_.find(toLower(section));
    return s == firstSection_.end() ? nullptr : &sections_[s->second];
}

const IniProfile::Line* IniProfile::find(const std::string& section, const std::string& key) const {
    const Section* found = findSection(section);
    if (!found) {
        return nullptr;
    }
    auto k = found->firstKey.find(toLower(key));
    return k == found->firstKey.end() ? nullptr : &found->lines[k->second];
}

std::string IniProfile::readString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, std::size_t bufferSize) const {
    const Line* line = find(section, key);
    const std::string& value = line ? line->value : defaultValue;
    std::size_t limit = bufferSize == 0 ? 0 : bufferSize - 1;
    return value.substr(0, limit);
}

int IniProfile::readInt(const std::string& section, const std::string& key,
                        int defaultValue) const {
    const Line* line = find(section, key);
    if (!line) {
        return defaultValue;
    }
    const std::string& value = line->value;
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    unsigned int result = 0;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i) {
        result = result * 10u + static_cast<unsigned int>(value[i] - '0');
    }
    return static_cast<int>(negative ? 0u - result : result);
}

void IniProfile::writeString(const std::string& section, const std::string& key,
                             const std::string& value) {
    std::string lowerSection = toLower(section);
    std::string lowerKey = toLower(trim(key));
    auto s = firstSection_.find(lowerSection);
    if (s == firstSection_.end()) {
        addSection("[" + section + "]", section);
        s = firstSection_.find(lowerSection);
    }
    Section& target = sections_[s->second];
    Line line{key + "=" + value, lowerKey, value};
    auto k = target.firstKey.find(lowerKey);
    if (k != target.firstKey.end()) {
        target.lines[k->second] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    std::size_t at = target.lines.size();
    while (at > 0 && trim(target.lines[at - 1].text).empty()) {
        --at;
    }
    for (auto& entry : target.firstKey) {
        if (entry.second >= at) {
            ++entry.second;
        }
    }
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    target.firstKey.emplace(lowerKey, at);
}

Status IniProfile::save() const {
    std::string content;
    for (const Section& section : sections_) {
        if (!section.header.empty()) {
            content += section.header + "\r\n";
        }
        for (const Line& line : section.lines) {
            content += line.text + "\r\n";
        }
    }
    AtomicFile file(path_);
    if (file.write(content.data(), content.size()) != content.size() || !file.commit()) {
        return failWriting(path_, "ERR: Unable to write " + path_ + ".");
    }
    return {};
}

}  // namespace verada
