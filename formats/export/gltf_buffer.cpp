#include "formats/export/gltf_buffer.h"

#include <algorithm>

namespace verada {

int GltfBuffer::addView(const void* data, std::size_t size, int target) {
    if (model_.buffers.empty()) {
        model_.buffers.emplace_back();
    }
    std::vector<unsigned char>& bytes = model_.buffers[0].data;
    bytes.resize((bytes.size() + 3) / 4 * 4, 0);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = bytes.size();
    view.byteLength = size;
    view.target = target;
    const auto* first = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), first, first + size);
    model_.bufferViews.push_back(view);
    return static_cast<int>(model_.bufferViews.size() - 1);
}

int GltfBuffer::addFloatAccessor(const std::vector<float>& values, std::size_t count,
                                 int components, bool withBounds) {
    tinygltf::Accessor accessor;
    accessor.bufferView =
        addView(values.data(), values.size() * sizeof(float), TINYGLTF_TARGET_ARRAY_BUFFER);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    accessor.count = count;
    accessor.type = components == 2 ? TINYGLTF_TYPE_VEC2 : TINYGLTF_TYPE_VEC3;
    if (withBounds && count > 0) {
        accessor.minValues.assign(values.begin(), values.begin() + components);
        accessor.maxValues = accessor.minValues;
        for (std::size_t i = 0; i < count * components; ++i) {
            const double value = values[i];
            double& low = accessor.minValues[i % components];
            double& high = accessor.maxValues[i % components];
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size() - 1);
}

int GltfBuffer::addIndexAccessor(const std::uint32_t* indices, std::size_t count, bool as16Bit) {
    tinygltf::Accessor accessor;
    if (as16Bit) {
        std::vector<std::uint16_t> narrow(indices, indices + count);
        accessor.bufferView = addView(narrow.data(), count * sizeof(std::uint16_t),
                                      TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
    } else {
        accessor.bufferView =
            addView(indices, count * sizeof(std::uint32_t), TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    }
    accessor.count = count;
    accessor.type = TINYGLTF_TYPE_SCALAR;
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size() - 1);
}

}  // namespace verada
