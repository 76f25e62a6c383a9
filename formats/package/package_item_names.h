#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace verada {

struct TypeIdName {
    const char* name;       // four characters
    const char* extension;  // at most four characters
};

// The item type name and file extension for a type id; unknown ids give "UNKN" and "bnry".
TypeIdName typeIdToName(std::uint32_t typeId);

// "KL-<type name>-<A>-<B>-<C>.<extension>", the name under which an item is unpacked; an
// item whose index carries a resource id other than 0 (Sims 2 packages) has it as a fourth
// number, "KL-<type name>-<A>-<B>-<C>-<resource>.<extension>", since items may differ only in
// it.
std::string itemFileName(std::uint32_t typeId, std::uint32_t groupId, std::uint32_t instanceId,
                         std::optional<std::uint32_t> resourceId = std::nullopt);

}  // namespace verada
