#pragma once

#include <string>

namespace verada {

// printf-style formatting into a string of any length.
std::string printfText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace verada
