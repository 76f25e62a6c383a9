#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace verada {

// The exact text a failed step reports ("ERR: ..." for errors; a few steps have texts of
// their own), with printf-style placeholders already filled.
struct Failure {
    std::string text;
    std::string output;  // the file being written, when that is what failed
};

inline Failure fail(std::string text) {
    return Failure{std::move(text), {}};
}

// A failure to write the output file at path, which the command line names instead of the
// input.
inline Failure failWriting(std::string path, std::string text) {
    return Failure{std::move(text), std::move(path)};
}

// The value of a step that succeeds with nothing to hand back.
struct Done {};

// What every work step returns: its value on success (a model, a report text, Done, ...) or
// the failure text; "WARN: " texts met on the way travel with either, in the order met.
template <typename T = Done>
class [[nodiscard]] Result {
  public:
    Result() : value_(T{}) {}
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure)
        : error_(std::move(failure.text)), failedOutput_(std::move(failure.output)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

    // Empty on success.
    const std::string& error() const { return error_; }
    // The output file a failure to write concerns; empty for every other result.
    const std::string& failedOutput() const { return failedOutput_; }
    // The failure, to hand on from a step of another value type.
    Failure failure() const { return Failure{error_, failedOutput_}; }

    const std::vector<std::string>& warnings() const { return warnings_; }
    void addWarning(std::string text) { warnings_.push_back(std::move(text)); }
    // Carries the warnings of a step this one called.
    template <typename U>
    void takeWarnings(const Result<U>& other) {
        warnings_.insert(warnings_.end(), other.warnings().begin(), other.warnings().end());
    }

  private:
    std::optional<T> value_;
    std::string error_;
    std::string failedOutput_;
    std::vector<std::string> warnings_;
};

using Status = Result<Done>;

}  // namespace verada
