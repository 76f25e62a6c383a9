#include "platform/posix/posix_system_services.h"

#include <gtest/gtest.h>

namespace verada {
namespace {

TEST(MemoryLoad, ShareOfMemoryInUseFromMeminfo) {
    struct Case {
        const char* meminfo;
        int load;
    } cases[] = {
        {"MemTotal:       1000 kB\nMemFree:   10 kB\nMemAvailable:    950 kB\n", 5},
        {"MemTotal: 1000 kB\nHugePages_Total:       0\nMemAvailable: 0 kB\n", 100},
        {"MemAvailable: 250 kB\nMemTotal: 1000 kB\n", 75},
        {"MemTotal: 0 kB\nMemAvailable: 0 kB\n", 0},
        {"garbage", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(memoryLoadFromMeminfo(c.meminfo), c.load) << c.meminfo;
    }
}

}  // namespace
}  // namespace verada
