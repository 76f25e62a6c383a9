#pragma once

// The texts the export commands report, printf-style.

namespace verada::exporting {

// The file to be written.
inline constexpr char kUnableToCreateFile[] = "ERR: Unable to create file\r\n\"%s\".";
inline constexpr char kUnableToWriteFile[] = "ERR: Unable to write file\r\n\"%s\".";

// "Save Mesh as .mesh": no entity of the chosen name; shown under a caption of its own.
inline constexpr char kSaveMeshFailed[] = "Save Failed.\r\nError in string selection.";
inline constexpr char kSaveMeshFailedCaption[] = "Save Mesh As .mesh Error";

// A scene export to a name whose extension tells no format.
inline constexpr char kUnknownExportType[] =
    "ERR: Unknown export file type, expected .glb, .gltf or .obj.";

// Running POVCommand: the program's name and the system's reason; the program's name and its
// exit status.
inline constexpr char kUnableToStartProgram[] = "ERR: Unable to start \"%s\": %s.";
inline constexpr char kProgramFailed[] = "ERR: \"%s\" ended with exit status %d.";
// `verada export --run` with nothing to run.
inline constexpr char kNoPovCommand[] =
    "ERR: No POV-Ray command to run: set POVCommand in [Commands] of ./Verada.cfg.";

}  // namespace verada::exporting
