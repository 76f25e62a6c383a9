#include "formats/export/normal_repair.h"

#include <array>
#include <cmath>

#include "formats/export/export_submesh.h"

namespace verada {
namespace {

using Vector = std::array<double, 3>;

Vector vectorAt(const std::vector<float>& values, std::size_t vertex) {
    return {values[3 * vertex], values[3 * vertex + 1], values[3 * vertex + 2]};
}

// The unit vector along v; nothing when v has no finite, non-zero length.
bool normalise(Vector& v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!std::isfinite(length) || length == 0) {
        return false;
    }
    for (double& component : v) {
        component /= length;
    }
    return true;
}

Vector faceNormal(const VertexArrays& vertices, const std::uint32_t* corners) {
    const Vector a = vectorAt(vertices.positions, corners[0]);
    const Vector b = vectorAt(vertices.positions, corners[1]);
    const Vector c = vectorAt(vertices.positions, corners[2]);
    const Vector ab = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Vector ac = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    Vector normal = {ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2],
                     ab[0] * ac[1] - ab[1] * ac[0]};
    return normalise(normal) ? normal : Vector{};
}

}  // namespace

std::vector<float> repairNormals(const VertexArrays& vertices,
                                 const std::vector<const SubmeshSnapshot*>& submeshes) {
    const std::size_t count = vertices.vertexCount;
    std::vector<Vector> normals(count);
    std::vector<bool> zero(count, false);
    bool anyZero = false;
    for (std::size_t v = 0; v < count; ++v) {
        normals[v] = vectorAt(vertices.normals, v);
        zero[v] = !normalise(normals[v]);
        anyZero = anyZero || zero[v];
    }
    if (anyZero) {
        std::vector<Vector> sums(count);
        for (const SubmeshSnapshot* submesh : submeshes) {
            const std::size_t indexCount = triangleIndexCount(*submesh);
            for (std::size_t i = 0; i < indexCount; i += 3) {
                const std::uint32_t* corners = submesh->indices.data() + i;
                if (!zero[corners[0]] && !zero[corners[1]] && !zero[corners[2]]) {
                    continue;
                }
                const Vector face = faceNormal(vertices, corners);
                for (int k = 0; k < 3; ++k) {
                    for (int axis = 0; axis < 3; ++axis) {
                        sums[corners[k]][axis] += face[axis];
                    }
                }
            }
        }
        for (std::size_t v = 0; v < count; ++v) {
            if (zero[v]) {
                normals[v] = normalise(sums[v]) ? sums[v] : Vector{0, 1, 0};
            }
        }
    }
    std::vector<float> unit(3 * count);
    for (std::size_t v = 0; v < count; ++v) {
        for (int axis = 0; axis < 3; ++axis) {
            unit[3 * v + axis] = static_cast<float>(normals[v][axis]);
        }
    }
    return unit;
}

}  // namespace verada
