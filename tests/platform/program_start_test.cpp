// POVCommand's words as a shell cuts them, and programs started with them, waited for or not.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/command_words.h"
#include "platform/posix/posix_system_services.h"

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

// Waited for, each argument arrives whole and the status comes back; a program that cannot
// start says why, waited for or not.
TEST(ProgramStart, ArgumentsArriveWholeAndTheStatusComesBack) {
    PosixSystemServices system;
    ProgramRun run =
        system.startProgram({"sh", "-c", "test \"$*\" = \"two words \\$HOME;x  \" && exit 3", "sh",
                             "two words", "$HOME;x", "", ""},
                            true);
    EXPECT_TRUE(run.started) << run.error;
    EXPECT_EQ(run.exitStatus, 3);
    run = system.startProgram({"sh", "-c", "kill -TERM $$"}, true);
    EXPECT_EQ(run.exitStatus, 128 + 15);
    for (bool wait : {true, false}) {
        run = system.startProgram({"/no/such/program", "x"}, wait);
        EXPECT_FALSE(run.started);
        EXPECT_EQ(run.error, "No such file or directory");
    }
}

}  // namespace
}  // namespace verada
