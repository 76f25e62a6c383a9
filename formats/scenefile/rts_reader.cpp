#include "formats/scenefile/rts_reader.h"

#include <array>
#include <optional>
#include <unordered_set>
#include <vector>

#include "formats/io/printf_text.h"
#include "formats/scenefile/rts_file_text.h"
#include "formats/scenefile/rts_input.h"
#include "formats/scenefile/rts_mesh_reader.h"
#include "formats/scenefile/rts_number_scan.h"
#include "formats/scenefile/rts_texts.h"
#include "formats/scenefile/rts_view_keys.h"

namespace verada {
namespace {

constexpr const char* kRtsData = "RTSData";
constexpr const char* kSceneNodes = "SceneNodes";
constexpr std::size_t kNameBuffer = 256;  // names keep 255 characters

// A node entry of [SceneNodes] with the names of the meshes it shows.
struct NodeEntry {
    NodeSnapshot node;
    std::vector<std::string> meshNames;
};

struct NodeEntries {
    std::vector<NodeEntry> entries;
    std::string error;  // the missing name that ended the list, if one did
};

Status checkVersion(const IniProfile& profile) {
    int version = profile.readInt(kRtsData, "RTSVersion", 0);
    if (version == 0) {
        return fail(rts::kUnrecognizedFormat);
    }
    if (version > 1) {
        return fail(rts::kNewerVersion);
    }
    return Done{};
}

// A value that does not scan keeps what the caller had, from its first bad component on.
ViewSettings readView(const IniProfile& profile, ViewSettings view) {
    for (const rts::ViewKey& key : rts::kViewKeys) {
        std::string text =
            profile.readString(kRtsData, key.key, key.defaultText, std::string::npos);
        scanReals(text, key.field(view), key.count);
    }
    return view;
}

std::string nodeKey(int n, const char* key) {
    return printfText("SN%02d%s", n, key);
}

// Components from the first that does not scan on keep the key's default.
template <std::size_t N>
void readNodeReals(const IniProfile& profile, int n, const char* key,
                   std::array<float, N>& values) {
    std::string text = profile.readString(kSceneNodes, nodeKey(n, key), "", std::string::npos);
    scanReals(text, values.data(), N);
}

NodeSnapshot readNodeTransform(const IniProfile& profile, int n, std::string name) {
    NodeSnapshot node;
    node.name = std::move(name);
    readNodeReals(profile, n, "Position", node.position);
    readNodeReals(profile, n, "OrientationXYZW", node.orientation);
    readNodeReals(profile, n, "ScaleXYZ", node.scale);
    const std::array<float, 4>& q = node.orientation;
    if (q[0] == 0.0f && q[1] == 0.0f && q[2] == 0.0f && q[3] == 0.0f) {
        node.orientation = {0.0f, 0.0f, 0.0f, 1.0f};
    }
    return node;
}

// Stops at the first entry without a name, as the load does; each name costs a line of the
// file, so a huge count ends at the file's end.
NodeEntries readNodeEntries(const IniProfile& profile) {
    NodeEntries read;
    int count = profile.readInt(kSceneNodes, "NumSceneNodes", 0);
    for (int n = 0; n < count; ++n) {
        std::string name = profile.readString(kSceneNodes, nodeKey(n, "Name"), "", kNameBuffer);
        if (name.empty()) {
            read.error = printfText(rts::kNodeNameMissing, n);
            return read;
        }
        NodeEntry entry{readNodeTransform(profile, n, std::move(name)), {}};
        int meshCount = profile.readInt(kSceneNodes, nodeKey(n, "MeshCount"), 0);
        for (int k = 0; k < meshCount; ++k) {
            std::string key = printfText("SN%02dMesh%02dName", n, k);
            std::string meshName = profile.readString(kSceneNodes, key, "", kNameBuffer);
            if (meshName.empty()) {
                read.error = printfText(rts::kNodeMeshNameMissing, n, k);
                read.entries.push_back(std::move(entry));
                return read;
            }
            entry.meshNames.push_back(std::move(meshName));
        }
        read.entries.push_back(std::move(entry));
    }
    return read;
}

std::vector<std::string> allMeshNames(const std::vector<NodeEntry>& entries) {
    std::vector<std::string> names;
    for (const NodeEntry& entry : entries) {
        names.insert(names.end(), entry.meshNames.begin(), entry.meshNames.end());
    }
    return names;
}

// Builds the scene from the node entries in file order; returns the text of the first mesh
// that fails, with `scene` holding what was built before it.
std::string readMeshes(RtsInput& input, const std::vector<NodeEntry>& entries,
                       SceneSnapshot& scene) {
    std::vector<std::string> names = allMeshNames(entries);
    std::vector<std::optional<std::size_t>> headers = input.lines().meshHeaders(names);
    std::unordered_set<std::string> used;
    std::size_t next = 0;
    for (const NodeEntry& entry : entries) {
        scene.nodes.push_back(entry.node);
        for (const std::string& name : entry.meshNames) {
            if (!used.insert(name).second) {
                return printfText(rts::kMeshNameInUse, name.c_str());
            }
            Result<RtsMesh> mesh = readRtsMesh(input, name, headers[next++]);
            if (!mesh) {
                return mesh.error();
            }
            ObjectSnapshot object;
            object.name = name;
            object.mesh = scene.meshes.size();
            object.submeshMaterials = std::move(mesh->submeshMaterials);
            scene.meshes.push_back(std::move(mesh->mesh));
            scene.nodes.back().objects.push_back(std::move(object));
        }
    }
    return "";
}

}  // namespace

Result<RtsScene> readRtsText(std::string_view text, const ViewSettings& current) {
    RtsInput input(text);
    Status version = checkVersion(input.profile());
    if (!version) {
        return fail(version.error());
    }
    RtsScene read;
    read.view = readView(input.profile(), current);
    NodeEntries entries = readNodeEntries(input.profile());
    read.error = readMeshes(input, entries.entries, read.scene);
    if (read.error.empty()) {
        read.error = std::move(entries.error);
    }
    return read;
}

Result<RtsScene> readRtsFile(const std::string& path, const ViewSettings& current) {
    RtsFileText file = RtsFileText::read(path);
    return readRtsText(file.text(), current);
}

}  // namespace verada
