// The version resource of a program file (RT_VERSION) as a tree of blocks:
// VS_VERSIONINFO holds the fixed file information and the StringFileInfo
// and VarFileInfo blocks, each block a key, a value and child blocks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pe {

struct VersionBlock {
    std::u16string key;
    std::uint16_t type = 0;  // 1: the value is text, 0: binary
    std::span<const std::uint8_t> value;
    std::vector<VersionBlock> children;

    // The first child whose key equals this one, ignoring ASCII case; null when none.
    const VersionBlock* Child(std::u16string_view childKey) const;
    // The value read as UTF-16 text, up to its terminating NUL.
    std::u16string Text() const;
};

// Parses the whole resource; PeError when the blocks do not fit together.
VersionBlock ParseVersionInfo(std::span<const std::uint8_t> resource);

struct FixedFileInfo {
    std::uint32_t signature = 0;
    std::uint32_t fileVersionMs = 0, fileVersionLs = 0;
    std::uint32_t productVersionMs = 0, productVersionLs = 0;
    std::uint32_t fileFlagsMask = 0, fileFlags = 0;
    std::uint32_t fileOs = 0, fileType = 0, fileSubtype = 0;
};

// The VS_FIXEDFILEINFO of the root block; empty when the value is too short.
std::optional<FixedFileInfo> ReadFixedFileInfo(const VersionBlock& root);

// For messages: UTF-16 to UTF-8.
std::string ToUtf8(std::u16string_view text);

}  // namespace pe
