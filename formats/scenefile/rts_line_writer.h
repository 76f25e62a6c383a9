#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace verada {

// Builds a scene file line piece by piece and writes it to the stream when it ends, so no text
// larger than a line is ever held. Numbers come out as printf's "%d" and "%f" give them in the
// C locale, whatever locale the program runs in.
class RtsLineWriter {
  public:
    explicit RtsLineWriter(std::FILE* out) : out_(out) {}

    RtsLineWriter& text(std::string_view text);
    // Cut to 255 characters, line breaks made "_", so that the name reads back as one value.
    RtsLineWriter& name(std::string_view name);
    RtsLineWriter& integer(long long value);
    // Zero-padded to a minimum width, as "%02d" pads.
    RtsLineWriter& index(std::size_t value, std::size_t width);
    RtsLineWriter& real(float value);
    // Separated by one blank.
    RtsLineWriter& reals(const float* values, std::size_t count);
    // Adds "\r\n" and writes the line.
    void end();

    // Flushes the stream; false when any write so far failed.
    bool finish();

  private:
    std::FILE* out_;
    std::string line_;
    bool ok_ = true;
};

}  // namespace verada
