#pragma once

// The texts the scene file's save and load report, printf-style.

namespace verada::rts {

// Saving (path of the file to be written).
inline constexpr char kUnableToCreateFile[] = "ERR: Unable to create file\r\n\"%s\".";
inline constexpr char kUnableToWriteFile[] = "ERR: Unable to write file\r\n\"%s\".";

// Loading: the version check, after which nothing has been read.
inline constexpr char kUnrecognizedFormat[] = "ERR: Unrecognized file format";
inline constexpr char kNewerVersion[] = "You need a newer program version to use this file";

// Loading: the texts at which reading stops.
inline constexpr char kNodeNameMissing[] = "ERR: SceneNode index %d name missing.";
inline constexpr char kNodeMeshNameMissing[] =
    "ERR: SceneNode index %d mesh index %d name missing.";
inline constexpr char kMeshNameInUse[] = "ERR: Mesh name \"%s\" is already in use.";
inline constexpr char kSharedVertexSanity[] = "ERR: %s submesh %d failed SharedVertex sanity test.";
inline constexpr char kBadCount[] = "ERR: Bad count %s=%d in [%s].";
inline constexpr char kBadFaceLine[] = "ERR: Bad face line tagged \"%s\".";
inline constexpr char kRunLineMissing[] = "ERR: Unable to located line tagged \"%s\"";

// Loading: setting a submesh's material on the entity just built.
inline constexpr char kEntitySanity[] =
    "ERR: Failed Entity sanity check in submesh material assignment.";
inline constexpr char kMeshPointer[] =
    "ERR: Failed pMesh pointer validation in submesh material assignment.";
inline constexpr char kSubmeshCountSanity[] =
    "ERR: Failed submesh count sanity test in submesh material assignment.";

// Loading: the texts that differ between a vertex run and a face run.
struct RunTexts {
    const char* headerMissing;  // the mesh's "[Mesh:%s]" header text
    const char* firstTagMissing;
    const char* fileEnd;
};
inline constexpr RunTexts kVertexRunTexts = {"ERR: Tag \"%s\" not located for vertex read.",
                                             "ERR: Vertex tag \"%s\" not located.",
                                             "ERR: File end before vertex read completed"};
inline constexpr RunTexts kFaceRunTexts = {"ERR: Tag \"%s\" not located for face read.",
                                           "ERR: Face tag \"%s\" not located.",
                                           "ERR: File end before face read completed"};

}  // namespace verada::rts
