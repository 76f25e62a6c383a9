#pragma once

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace verada::test {

// The lines of a scene file text from the line `from` up to (not including) the line `to`, or
// to the end when `to` is empty or not there.
inline std::vector<std::string> rtsLines(const std::string& text, const std::string& from = "",
                                         const std::string& to = "") {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    bool inside = from.empty();
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        inside = inside || line == from;
        if (inside && !to.empty() && line == to) {
            break;
        }
        if (inside) {
            lines.push_back(line);
        }
    }
    return lines;
}

// The same keys in the same order, values equal or their numbers within what six decimals
// keep: a scene file read back and written again rounds each number once more.
inline void expectSameRtsLines(const std::vector<std::string>& a,
                               const std::vector<std::string>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) {
            continue;
        }
        std::size_t equals = a[i].find('=');
        ASSERT_EQ(a[i].substr(0, equals), b[i].substr(0, b[i].find('='))) << "line " << i;
        std::istringstream x(a[i].substr(equals + 1));
        std::istringstream y(b[i].substr(equals + 1));
        double u = 0;
        double v = 0;
        while (x >> u) {
            ASSERT_TRUE(y >> v) << a[i] << " | " << b[i];
            ASSERT_NEAR(u, v, 1.5e-6 * std::max(1.0, std::abs(u))) << a[i] << " | " << b[i];
        }
        ASSERT_TRUE(x.eof() && !(y >> v)) << a[i] << " | " << b[i];
    }
}

}  // namespace verada::test
