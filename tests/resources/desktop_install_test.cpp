// `cmake --install` into a fresh prefix, and what the desktop then finds there.
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>

#include "formats/config/profile.h"
#include "formats/scene/viewer_files.h"
#include "tests/support/picture_difference.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string output;  // stdout and stderr
};

Outcome run(const test::TempDir& dir, const std::string& command) {
    std::string line = "cd '" + dir.path().string() + "' && " + command + " >output.txt 2>&1";
    int status = std::system(line.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.output = test::readFile(dir / "output.txt");
    return outcome;
}

std::vector<std::string> listOf(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ';');) {
        items.push_back(item);
    }
    return items;
}

bool contains(const std::vector<std::string>& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The root element of a well-formed XML file, or nothing.
std::string xmlRoot(const fs::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) {
        return "";
    }
    QXmlStreamReader xml(&file);
    std::string root;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && root.empty()) {
            root = xml.name().toString().toStdString();
        }
    }
    return xml.hasError() ? "" : root;
}

class DesktopInstall : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        prefix_ = std::make_unique<test::TempDir>();
        const char* cmake = std::getenv("CMAKE_COMMAND");
        installed_ = run(*prefix_, std::string("'") + (cmake ? cmake : "cmake") + "' --install '" +
                                       std::getenv("VERADA_BUILD_DIR") + "' --prefix '" +
                                       prefix_->path().string() + "'");
    }
    static void TearDownTestSuite() { prefix_.reset(); }

    static fs::path share(const std::string& relative) { return *prefix_ / ("share/" + relative); }
    static std::string program() { return (*prefix_ / "bin" / "verada").string(); }

    static std::unique_ptr<test::TempDir> prefix_;
    static Outcome installed_;
};

std::unique_ptr<test::TempDir> DesktopInstall::prefix_;
Outcome DesktopInstall::installed_;

TEST_F(DesktopInstall, DeclaresEveryFileTypeTheViewerOpens) {
    ASSERT_EQ(installed_.status, 0) << installed_.output;
    const fs::path desktopFile = share("applications/verada.desktop");
    Outcome validated = run(*prefix_, "desktop-file-validate '" + desktopFile.string() + "'");
    EXPECT_EQ(validated.status, 0) << validated.output;
    EXPECT_EQ(validated.output, "");

    IniProfile desktop = IniProfile::load(desktopFile.string());
    EXPECT_EQ(desktop.readString("Desktop Entry", "Exec", ""), "verada %F");
    EXPECT_EQ(desktop.readString("Desktop Entry", "Icon", ""), "verada");
    IniProfile thumbnailer = IniProfile::load(share("thumbnailers/verada.thumbnailer").string());
    EXPECT_EQ(thumbnailer.readString("Thumbnailer Entry", "Exec", ""),
              "verada render --frame --size %s -o %o %i");
    std::vector<std::string> opened = listOf(desktop.readString("Desktop Entry", "MimeType", ""));
    std::vector<std::string> thumbnailed =
        listOf(thumbnailer.readString("Thumbnailer Entry", "MimeType", ""));
    // update-mime-database has turned the types into its glob list.
    std::string globs = test::readFile(share("mime/globs2"));
    for (const ViewerFileType& type : viewerFileTypes()) {
        EXPECT_TRUE(contains(opened, type.mimeType)) << type.extension;
        EXPECT_EQ(contains(thumbnailed, type.mimeType), type.thumbnailed) << type.extension;
        EXPECT_NE(globs.find(std::string(type.mimeType) + ":*" + type.extension), std::string::npos)
            << type.extension;
    }

    EXPECT_EQ(xmlRoot(share("mime/packages/verada.xml")), "mime-info");
    EXPECT_EQ(xmlRoot(share("icons/hicolor/scalable/apps/verada.svg")), "svg");
    for (const char* list : {"plugins.cfg", "resources.cfg"}) {
        EXPECT_TRUE(fs::exists(share(std::string("verada/") + list))) << list;
    }
    Outcome version = run(*prefix_, "'" + program() + "' --version");
    EXPECT_EQ(version.output, "Verada V0.22\n");
}

// What a file manager runs for a thumbnail, from a folder of its own: the installed program
// finds its engine lists and frames the model.
TEST_F(DesktopInstall, ThumbnailerDrawsTheModel) {
    ASSERT_EQ(installed_.status, 0) << installed_.output;
    test::TempDir elsewhere;
    std::string model = test::samplePath("gmdc/TestMesh.5gd").string();
    Outcome thumbnail = run(
        elsewhere, "PATH='" + (*prefix_ / "bin").string() +
                       "':\"$PATH\" verada render --frame --size 128 -o thumb.png '" + model + "'");
    ASSERT_EQ(thumbnail.status, 0) << thumbnail.output;
    ASSERT_EQ(run(elsewhere, "'" + program() + "' render --size 128 -o empty.png").status, 0);
    QImage picture(QString::fromStdString((elsewhere / "thumb.png").string()));
    EXPECT_EQ(picture.size(), QSize(128, 128));
    QImage empty(QString::fromStdString((elsewhere / "empty.png").string()));
    EXPECT_GT(test::comparePictures(empty, picture).count, 128 * 128 / 10);
}

}  // namespace
}  // namespace verada
