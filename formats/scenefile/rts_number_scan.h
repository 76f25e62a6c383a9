#pragma once

#include <cstddef>
#include <string_view>

namespace verada {

// Scans up to `count` reals separated by white space, as "%f %f ..." reads them but in the C
// locale, and stops at the first that does not scan or is not finite. Only the values scanned
// are stored; returns how many.
std::size_t scanReals(std::string_view text, float* values, std::size_t count);

// The same for decimal integers ("%d %d ...").
std::size_t scanIntegers(std::string_view text, long long* values, std::size_t count);

}  // namespace verada
