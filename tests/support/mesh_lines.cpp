#include "tests/support/mesh_lines.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace verada::test {

std::string numbers(const std::vector<float>& values) {
    std::ostringstream text;
    for (float value : values) {
        text << " " << value;
    }
    return text.str();
}

namespace {

// A vertex data as one line per kind of element.
std::vector<std::string> vertexLines(const VertexArrays& v) {
    return {"vertices " + std::to_string(v.vertexCount), "position" + numbers(v.positions),
            "normal" + numbers(v.normals), "texcoord" + numbers(v.uvs)};
}

}  // namespace

std::vector<std::string> meshLines(const MeshSnapshot& mesh) {
    std::vector<std::string> lines;
    if (mesh.sharedVertices) {
        lines = vertexLines(*mesh.sharedVertices);
    }
    for (const SubmeshSnapshot& s : mesh.submeshes) {
        std::string faces = s.hasIndexData ? (s.indices32 ? " 32-bit" : " 16-bit") : " none";
        for (std::uint32_t index : s.indices) {
            faces += " " + std::to_string(index);
        }
        lines.push_back(s.label + (s.useSharedVertices ? " shared" : "") + faces);
        if (!s.useSharedVertices) {
            std::vector<std::string> own = vertexLines(s.vertices);
            lines.insert(lines.end(), own.begin(), own.end());
        }
    }
    return lines;
}

std::vector<std::string> converterLines(const std::filesystem::path& xml) {
    MeshSnapshot mesh;
    VertexArrays* vertices = nullptr;
    std::ifstream in(xml);
    std::string line;
    while (std::getline(in, line) && line.find("<levelofdetail") == std::string::npos) {
        const char* text = line.c_str() + line.find_first_not_of(" \t");
        float x = 0, y = 0, z = 0;
        unsigned a = 0, b = 0, c = 0, count = 0;
        char name[256] = {};
        if (std::sscanf(text, "<sharedgeometry vertexcount=\"%u\"", &count) == 1) {
            mesh.sharedVertices.emplace().vertexCount = count;
            vertices = &*mesh.sharedVertices;
        } else if (std::strncmp(text, "<submesh ", 9) == 0) {
            SubmeshSnapshot& s = mesh.submeshes.emplace_back();
            s.label = "GroupIndex0" + std::to_string(mesh.submeshes.size() - 1);
            s.useSharedVertices = line.find("usesharedvertices=\"true\"") != std::string::npos;
            s.indices32 = line.find("use32bitindexes=\"true\"") != std::string::npos;
        } else if (std::sscanf(text, "<geometry vertexcount=\"%u\"", &count) == 1) {
            vertices = &mesh.submeshes.back().vertices;
            vertices->vertexCount = count;
        } else if (std::sscanf(text, "<position x=\"%f\" y=\"%f\" z=\"%f\"", &x, &y, &z) == 3) {
            vertices->positions.insert(vertices->positions.end(), {x, y, z});
        } else if (std::sscanf(text, "<normal x=\"%f\" y=\"%f\" z=\"%f\"", &x, &y, &z) == 3) {
            vertices->normals.insert(vertices->normals.end(), {x, y, z});
        } else if (std::sscanf(text, "<texcoord u=\"%f\" v=\"%f\"", &x, &y) == 2) {
            vertices->uvs.insert(vertices->uvs.end(), {x, y});
        } else if (std::sscanf(text, "<face v1=\"%u\" v2=\"%u\" v3=\"%u\"", &a, &b, &c) == 3) {
            mesh.submeshes.back().indices.insert(mesh.submeshes.back().indices.end(), {a, b, c});
        } else if (std::sscanf(text, "<submeshname name=\"%255[^\"]\" index=\"%u\"", name,
                               &count) == 2) {
            mesh.submeshes.at(count).label = name;
        }
    }
    return meshLines(mesh);
}

}  // namespace verada::test
