#include "cli/message_printer.h"

#include <cstdio>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <OgreException.h>
#include <gtest/gtest.h>

#include "cli/subcommands.h"

namespace verada::cli {
namespace {

// What a stream opened on memory holds once closed.
class Capture {
  public:
    Capture() : stream_(open_memstream(&buffer_, &size_)) {}
    ~Capture() {
        close();
        std::free(buffer_);
    }
    std::FILE* stream() const { return stream_; }
    std::string text() {
        close();
        return std::string(buffer_, size_);
    }

  private:
    void close() {
        if (stream_ != nullptr) {
            std::fclose(stream_);
            stream_ = nullptr;
        }
    }

    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* stream_;
};

// The rule every subcommand prints by, one step result per row.
TEST(MessagePrinter, OneLinePerMessageAndTheStatusFollowsTheWorstOfThem) {
    struct Case {
        const char* what;
        Result<std::string> result;
        std::vector<std::string> warnings;
        std::string err;
        std::string out;
        int status;
    };
    const Case cases[] = {
        {"report only",
         std::string("a.rast converted, no error."),
         {},
         "",
         "a.rast converted, no error.\n",
         0},
        {"report keeps its line ends off a terminal",
         std::string("done\r\nNo errors.\r\n"),
         {},
         "",
         "done\r\nNo errors.\r\n",
         0},
        {"warnings leave the status and the output",
         std::string("ok"),
         {"WARN: Model lacks UVs.\r\n", "WARN: second"},
         "in.5gd: WARN: Model lacks UVs.\nin.5gd: WARN: second\n",
         "ok\n",
         0},
        {"an error",
         fail("ERR: Version 9 not known (only 8 and 10)."),
         {},
         "in.5gd: ERR: Version 9 not known (only 8 and 10).\n",
         "",
         1},
        {"a failure with a text of its own",
         fail("Failed to open input file in.5gd\r\n"),
         {},
         "in.5gd: Failed to open input file in.5gd\n",
         "",
         1},
        {"a failure to write names the output",
         failWriting("out.txt", "Unable to create .txt file."),
         {"WARN: before"},
         "in.5gd: WARN: before\nout.txt: Unable to create .txt file.\n",
         "",
         1},
        {"names from files print as UTF-8 with their control characters escaped",
         fail("Failed to open input file caf\xE9\x1B[2J.5gd\r\n"),
         {},
         "in.5gd: Failed to open input file caf\xC3\xA9\\x1B[2J.5gd\n",
         "",
         1},
        {"so do reports",
         std::string("caf\xE9\x1B[2J.5gd\tunpacked\r\n"),
         {},
         "",
         "caf\xC3\xA9\\x1B[2J.5gd\tunpacked\r\n",
         0},
        {"an error with lines of its own",
         fail("ERR: Empty Archive: Zero index items.\r\nNothing available to extract."),
         {},
         "in.5gd: ERR: Empty Archive: Zero index items.\nNothing available to extract.\n",
         "",
         1},
    };
    for (const Case& c : cases) {
        Capture out;
        Capture err;
        MessagePrinter printer(out.stream(), err.stream());
        Result<std::string> result = c.result;
        for (const std::string& warning : c.warnings) {
            result.addWarning(warning);
        }
        if (printer.printMessages("in.5gd", result)) {
            printer.printReport(result.value());
        }
        EXPECT_EQ(err.text(), c.err) << c.what;
        EXPECT_EQ(out.text(), c.out) << c.what;
        EXPECT_EQ(printer.exitStatus(), c.status) << c.what;
    }
}

TEST(MessagePrinter, OneErrorAmongManyFilesMakesTheStatusOne) {
    Capture out;
    Capture err;
    MessagePrinter printer(out.stream(), err.stream());
    printer.printMessage("a", "WARN: fine");
    printer.printMessage("b", "fc index out of range");
    printer.printMessage("c", "WARN: fine again");
    printer.printMessage("d\ne\x9B", "WARN: a file name is printed on one line");
    EXPECT_EQ(printer.exitStatus(), 1);
    EXPECT_EQ(err.text(),
              "a: WARN: fine\nb: fc index out of range\nc: WARN: fine again\n"
              "d\\x0Ae\\x9B: WARN: a file name is printed on one line\n");
}

// What a subcommand lets escape ends as one line and status 1, never as an abort.
TEST(MessagePrinter, AnEscapedExceptionIsOneErrLine) {
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[] { throw std::runtime_error("names\nbytes \xFF"); }, "ERR: names\\x0Abytes \xC3\xBF\n"},
        {[] { throw std::bad_alloc(); }, "ERR: std::bad_alloc\n"},
        {[] { OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "Ogre's own text", "test"); },
         "ERR: Ogre's own text\n"},
        {[] { throw 7; }, "ERR: Unknown exception.\n"},
    };
    for (const auto& [throwing, line] : cases) {
        Capture err;
        int status = 0;
        try {
            throwing();
        } catch (...) {
            status = reportEscapedException(err.stream());
        }
        EXPECT_EQ(status, 1);
        EXPECT_EQ(err.text(), line);
    }
}

}  // namespace
}  // namespace verada::cli
