#pragma once

#include <optional>
#include <string>
#include <utility>

#include "formats/io/result.h"
#include "formats/model/imported_model.h"

namespace verada::test {

// A read as the reader tests compare it: the model it gave (no groups after a failure) goes
// into model, and the failure text, or nothing, comes back.
inline std::optional<std::string> readInto(ImportedModel& model, Result<ImportedModel> read) {
    if (!read) {
        model = ImportedModel{};
        return read.error();
    }
    model = std::move(read.value());
    return std::nullopt;
}

}  // namespace verada::test
