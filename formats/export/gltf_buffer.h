#pragma once

#include <cstddef>
#include <vector>

#include <tiny_gltf.h>

namespace verada {

// Appends data to the model's one buffer and describes it with buffer views and accessors.
class GltfBuffer {
  public:
    explicit GltfBuffer(tinygltf::Model& model) : model_(model) {}

    // A buffer view of the bytes, starting on a 4-byte boundary as float accessors need;
    // target 0 for data that is no vertex or index array (images).
    int addView(const void* data, std::size_t size, int target);

    // A tightly packed float accessor of count elements of `components` floats (2 or 3);
    // withBounds adds the per-component minimum and maximum POSITION requires.
    int addFloatAccessor(const std::vector<float>& values, std::size_t count, int components,
                         bool withBounds);

    // Indices as 16-bit numbers when they are stored so, else as 32-bit ones.
    int addIndexAccessor(const std::uint32_t* indices, std::size_t count, bool as16Bit);

  private:
    tinygltf::Model& model_;
};

}  // namespace verada
