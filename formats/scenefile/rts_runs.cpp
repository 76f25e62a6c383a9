#include "formats/scenefile/rts_runs.h"

#include <algorithm>
#include <charconv>

#include "formats/io/printf_text.h"
#include "formats/scenefile/rts_number_scan.h"
#include "formats/scenefile/rts_texts.h"

namespace verada {
namespace {

// prefix followed by the index, zero-padded to at least five digits.
void setRunTag(std::string& tag, const std::string& prefix, std::size_t index) {
    char digits[24];
    std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, index);
    std::size_t length = static_cast<std::size_t>(result.ptr - digits);
    tag.assign(prefix);
    tag.append(length < 5 ? 5 - length : 0, '0');
    tag.append(digits, result.ptr);
}

// Hands the value of each line of the run (the text one character after its tag, past the
// "=") to `take`; nothing is allocated for the count before its lines are met.
template <typename Take>
Status walkRun(RtsInput& input, const RtsRun& run, const rts::RunTexts& texts, Take take) {
    std::string tag;
    setRunTag(tag, run.prefix, 0);
    if (!run.headerAt) {
        std::string header = "[Mesh:" + run.meshName + "]";
        return fail(printfText(texts.headerMissing, header.c_str()));
    }
    const RtsLineIndex& lines = input.lines();
    std::optional<std::size_t> at = lines.firstRunLine(run.prefix, *run.headerAt);
    if (!at) {
        return fail(printfText(texts.firstTagMissing, tag.c_str()));
    }
    std::size_t next = *at;
    for (std::size_t i = 0; i < run.count; ++i) {
        if (next == input.text().size()) {
            return fail(texts.fileEnd);
        }
        std::string_view line = lines.lineAt(next, next);
        setRunTag(tag, run.prefix, i);
        if (line.substr(0, tag.size()) != tag) {
            return fail(printfText(rts::kRunLineMissing, tag.c_str()));
        }
        if (!input.draw(1)) {
            return fail(
                badCountText(run.countKey, static_cast<long long>(run.count), run.meshName));
        }
        Status taken = take(line.substr(std::min(tag.size() + 1, line.size())), tag);
        if (!taken) {
            return taken;
        }
    }
    return Done{};
}

}  // namespace

Result<VertexArrays> readVertexRun(RtsInput& input, const RtsRun& run) {
    VertexArrays vertices;
    Status read = walkRun(input, run, rts::kVertexRunTexts,
                          [&](std::string_view value, const std::string&) -> Status {
                              float v[8] = {};
                              scanReals(value, v, 8);
                              vertices.positions.insert(vertices.positions.end(), v, v + 3);
                              vertices.normals.insert(vertices.normals.end(), v + 3, v + 6);
                              vertices.uvs.insert(vertices.uvs.end(), v + 6, v + 8);
                              return Done{};
                          });
    if (!read) {
        return fail(read.error());
    }
    vertices.vertexCount = run.count;
    return vertices;
}

Result<std::vector<std::uint32_t>> readFaceRun(RtsInput& input, const RtsRun& run,
                                               std::size_t vertexCount) {
    std::vector<std::uint32_t> indices;
    Status read =
        walkRun(input, run, rts::kFaceRunTexts,
                [&](std::string_view value, const std::string& tag) -> Status {
                    long long face[3];
                    if (scanIntegers(value, face, 3) != 3) {
                        return fail(printfText(rts::kBadFaceLine, tag.c_str()));
                    }
                    for (long long index : face) {
                        if (index < 0 || static_cast<unsigned long long>(index) >= vertexCount) {
                            return fail(printfText(rts::kBadFaceLine, tag.c_str()));
                        }
                        indices.push_back(static_cast<std::uint32_t>(index));
                    }
                    return Done{};
                });
    if (!read) {
        return fail(read.error());
    }
    return indices;
}

std::string badCountText(const std::string& key, long long value, const std::string& meshName) {
    return printfText(rts::kBadCount, key.c_str(), static_cast<int>(value),
                      ("Mesh:" + meshName).c_str());
}

}  // namespace verada
