// POVCommand's words as a shell cuts them, and programs started with them, waited for or not.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/command_words.h"
#include "platform/posix/posix_system_services.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using Words = std::vector<std::string>;

TEST(CommandWords, CutAsAShellCutsWithoutExpandingAnything) {
    const std::pair<const char*, Words> cases[] = {
        {"povray", {"povray"}},
        {"  povray \t+W320\n+H240  ", {"povray", "+W320", "+H240"}},
        {"", {}},
        {" \t ", {}},
        {"\"/opt/pov ray/povray\" +I", {"/opt/pov ray/povray", "+I"}},
        {"'/opt/pov ray/povray' '+L$HOME'", {"/opt/pov ray/povray", "+L$HOME"}},
        {"a\"b c\"d 'e'f", {"ab cd", "ef"}},
        {"\"\" ''", {"", ""}},
        {"say \"\\\"q\\\" \\$x \\n\"", {"say", "\"q\" $x \\n"}},
        {"a\\ b \\'c\\\\", {"a b", "'c\\"}},
        {"'it\\'s", {"it\\s"}},
        {"one \\\ntwo \"th\\\nree\"", {"one", "two", "three"}},
        {"$(rm -rf x);echo `id` *.pov ~", {"$(rm", "-rf", "x);echo", "`id`", "*.pov", "~"}},
        {"open \"quote to the end", {"open", "quote to the end"}},
        {"trailing\\", {"trailing\\"}},
    };
    for (const auto& [line, words] : cases) {
        EXPECT_EQ(splitCommandWords(line), words) << line;
    }
}

class ProgramStart : public ::testing::Test {
  protected:
    // A script that writes its arguments, one a line, to args.txt beside it, and ends with
    // status.
    std::string recorder(int status) {
        const std::filesystem::path script = dir / "record args";
        test::writeFile(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                    (dir / "args.tmp").string() + "'\nmv '" +
                                    (dir / "args.tmp").string() + "' '" +
                                    (dir / "args.txt").string() + "'\nexit " +
                                    std::to_string(status) + "\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        return script.string();
    }

    test::TempDir dir;
    PosixSystemServices system;
};

TEST_F(ProgramStart, WaitedForWithEachArgumentWholeAndItsStatus) {
    const Words arguments = {recorder(3), "two words", "$HOME;x", "\"q\"", ""};
    ProgramRun run = system.startProgram(arguments, true);
    EXPECT_TRUE(run.started) << run.error;
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(test::readFile(dir / "args.txt"), "two words\n$HOME;x\n\"q\"\n\n");

    run = system.startProgram({"sh", "-c", "kill -TERM $$"}, true);
    EXPECT_TRUE(run.started);
    EXPECT_EQ(run.exitStatus, 128 + 15);
}

TEST_F(ProgramStart, AProgramThatCannotStartSaysWhy) {
    for (bool wait : {true, false}) {
        ProgramRun run = system.startProgram({(dir / "no such program").string(), "x"}, wait);
        EXPECT_FALSE(run.started);
        EXPECT_EQ(run.error, "No such file or directory");
        run = system.startProgram({}, wait);
        EXPECT_FALSE(run.started);
    }
}

// Detached, the call returns once the program runs; it ends on its own.
TEST_F(ProgramStart, DetachedRunsOnItsOwn) {
    ProgramRun run = system.startProgram({recorder(0), "a b"}, false);
    ASSERT_TRUE(run.started) << run.error;
    for (int tries = 0; tries < 600 && !std::filesystem::exists(dir / "args.txt"); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(test::readFile(dir / "args.txt"), "a b\n");
}

}  // namespace
}  // namespace verada
