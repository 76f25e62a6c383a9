#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QImage>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

struct RenderRun {
    int status = -1;
    std::string err;
};

RenderRun render(const test::TempDir& dir, const std::string& arguments) {
    std::string command = "cd '" + dir.path().string() + "' && '" + test::veradaBinary().string() +
                          "' render " + arguments + " 2>stderr.txt";
    int status = std::system(command.c_str());
    RenderRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = test::readFile(dir / "stderr.txt");
    return run;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// Pixels whose colour moved by more than a rounding step between the two pictures.
struct Difference {
    int count = 0;
    int left = 1 << 30;
    int right = -1;
};

Difference compare(const QImage& a, const QImage& b) {
    Difference difference;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y);
            QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q)) >
                6) {
                ++difference.count;
                difference.left = std::min(difference.left, x);
                difference.right = std::max(difference.right, x);
            }
        }
    }
    return difference;
}

TEST(RenderCommand, EachSampleChangesThePictureWhereTheModelStands) {
    test::TempDir dir;
    RenderRun empty = render(dir, "-o empty.png --size 320x240");
    ASSERT_EQ(empty.status, 0) << empty.err;
    QImage background(QString::fromStdString((dir / "empty.png").string()));
    ASSERT_EQ(background.size(), QSize(320, 240));

    for (const char* sample :
         {"gmdl/Megamouth.gmdl", "gmdc/TestMesh.5gd", "gmdc/teapot_model.extracted.5gd"}) {
        RenderRun run =
            render(dir, "-o model.png --size 320x240 " + quoted(test::samplePath(sample)));
        ASSERT_EQ(run.status, 0) << sample << ": " << run.err;
        QImage picture(QString::fromStdString((dir / "model.png").string()));
        ASSERT_EQ(picture.size(), background.size()) << sample;
        Difference difference = compare(background, picture);
        // Each model stands at the origin, straight ahead of the default camera: at least
        // 1% of the picture changes, in a region around the middle column.
        EXPECT_GT(difference.count, 320 * 240 / 100) << sample;
        EXPECT_LT(difference.left, 160) << sample;
        EXPECT_GT(difference.right, 160) << sample;
        EXPECT_NEAR((difference.left + difference.right) / 2.0, 160.0, 16.0) << sample;
    }
}

TEST(RenderCommand, SeveralFilesShareOneScene) {
    test::TempDir dir;
    std::string teapot = quoted(test::samplePath("gmdc/teapot_model.extracted.5gd"));
    std::string mesh = quoted(test::samplePath("gmdc/TestMesh.5gd"));
    ASSERT_EQ(render(dir, "-o one.png --size 160x120 " + mesh).status, 0);
    ASSERT_EQ(render(dir, "-o two.png --size 160x120 " + mesh + " " + teapot).status, 0);
    QImage one(QString::fromStdString((dir / "one.png").string()));
    QImage two(QString::fromStdString((dir / "two.png").string()));
    EXPECT_GT(compare(one, two).count, 160 * 120 / 100);
}

// A package's model item is read straight from the package, to the same picture.
TEST(RenderCommand, APackageRendersAsTheModelItHolds) {
    test::TempDir dir;
    std::string package = quoted(test::samplePath("gmdc/teapot_model.package"));
    std::string unpacked = quoted(test::samplePath("gmdc/teapot_model.extracted.5gd"));
    RenderRun fromPackage = render(dir, "-o package.png --size 160x120 " + package);
    ASSERT_EQ(fromPackage.status, 0) << fromPackage.err;
    ASSERT_EQ(render(dir, "-o file.png --size 160x120 " + unpacked).status, 0);
    ASSERT_EQ(render(dir, "-o empty.png --size 160x120").status, 0);
    QImage picture(QString::fromStdString((dir / "package.png").string()));
    QImage file(QString::fromStdString((dir / "file.png").string()));
    QImage empty(QString::fromStdString((dir / "empty.png").string()));
    EXPECT_EQ(compare(picture, file).count, 0);
    EXPECT_GT(compare(picture, empty).count, 160 * 120 / 100);
}

TEST(RenderCommand, BadInputsFailWithTheirReason) {
    test::TempDir dir;
    test::writeFile(dir / "notes.txt", "text");
    test::writeFile(dir / "broken.gmdl", "GMDL");
    const std::pair<std::string, std::string> cases[] = {
        {"-o out.png --size 0x10", "out.png: ERR: --size must be WIDTHxHEIGHT"},
        {"-o out.png --size wide", "--size must be WIDTHxHEIGHT"},
        {"-o out.png notes.txt", "notes.txt: ERR: Unknown model file type"},
        {"-o out.png missing.gmsh", "missing.gmsh: ERR: "},
        {"-o out.png broken.gmdl", "broken.gmdl: ERR: "},
        {"-o out.png " + quoted(test::samplePath("package/spore-smfx/Project_0.package")),
         "Project_0.package: ERR: Package holds no GMDL, GMSH or GMDC item."},
    };
    for (const auto& [arguments, reason] : cases) {
        RenderRun run = render(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.err.find(reason), std::string::npos) << arguments << ": " << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.png")) << arguments;
    }
}

TEST(RenderCommand, WithoutADisplayItSaysSo) {
    test::TempDir dir;
    std::string command = "cd '" + dir.path().string() + "' && DISPLAY=:97 '" +
                          test::veradaBinary().string() + "' render -o out.png 2>stderr.txt";
    int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
    EXPECT_NE(test::readFile(dir / "stderr.txt").find("cannot open the X display \":97\""),
              std::string::npos);
}

}  // namespace
}  // namespace verada
