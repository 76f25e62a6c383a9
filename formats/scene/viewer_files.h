#pragma once

#include <string>
#include <vector>

namespace verada {

// What a file holds, which decides how it is opened.
enum class ViewerFileKind {
    MaterialScript,  // opened before the others, whatever their order
    OgreMesh,
    Model,      // a game model, read by formats/model
    Package,    // a game package, whose model items open without unpacking
    SceneFile,  // replaces the scene and its view
};

// A kind of file the viewer opens by name: from its command line, dropped on its window, from
// its recent files, or handed over by the desktop. This table is the one list of them.
struct ViewerFileType {
    const char* extension;  // lower case, with the dot
    const char* mimeType;   // the type the desktop files declare for it
    ViewerFileKind kind;
    bool bringsOwnView;  // holds a camera of its own, which framing must not replace
    bool thumbnailed;    // the desktop's thumbnailer draws it
};

const std::vector<ViewerFileType>& viewerFileTypes();

// The type of the path by its extension, compared without regard to case; null for none.
const ViewerFileType* viewerFileType(const std::string& path);

// ".gmdl, .gmsh, ..." for messages and help texts.
std::string viewerFileExtensionList();

}  // namespace verada
