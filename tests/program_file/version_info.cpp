#include "version_info.h"

#include "pe_file.h"

namespace pe {

namespace {

constexpr std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// A block at an offset of the resource; offsets are aligned relative to
// the start of the resource, which the loader keeps 4-byte aligned.
VersionBlock ParseBlock(std::span<const std::uint8_t> resource, std::size_t at, int depth) {
    if (depth > 8) throw PeError("version resource nested too deep");
    const std::size_t length = ReadU16(resource, at);
    const std::size_t valueLength = ReadU16(resource, at + 2);
    VersionBlock block;
    block.type = ReadU16(resource, at + 4);
    if (length < 6 || at + length > resource.size()) throw PeError("version block of a wrong length");
    const std::size_t end = at + length;

    std::size_t p = at + 6;
    for (;;) {
        if (p + 2 > end) throw PeError("version block key has no end");
        const char16_t c = static_cast<char16_t>(ReadU16(resource, p));
        p += 2;
        if (c == 0) break;
        block.key.push_back(c);
    }
    p = Align4(p);
    const std::size_t valueBytes = block.type == 1 ? valueLength * 2 : valueLength;
    if (p > end || valueBytes > end - p) {
        // Some writers count a text value in bytes; what is left of the block is the value then.
        if (block.type != 1 || p > end || valueLength > end - p) throw PeError("version block value too long");
        block.value = resource.subspan(p, valueLength);
        p += valueLength;
    } else {
        block.value = resource.subspan(p, valueBytes);
        p += valueBytes;
    }
    p = Align4(p);
    while (p < end) {
        block.children.push_back(ParseBlock(resource, p, depth + 1));
        p = Align4(p + ReadU16(resource, p));
    }
    return block;
}

}  // namespace

const VersionBlock* VersionBlock::Child(std::u16string_view childKey) const {
    for (const VersionBlock& child : children) {
        if (child.key.size() != childKey.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < childKey.size() && same; ++i) same = Lower(child.key[i]) == Lower(childKey[i]);
        if (same) return &child;
    }
    return nullptr;
}

std::u16string VersionBlock::Text() const {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(ReadU16(value, i));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

VersionBlock ParseVersionInfo(std::span<const std::uint8_t> resource) { return ParseBlock(resource, 0, 0); }

std::optional<FixedFileInfo> ReadFixedFileInfo(const VersionBlock& root) {
    if (root.value.size() < 52) return std::nullopt;
    const auto v = root.value;
    FixedFileInfo info;
    info.signature = ReadU32(v, 0);
    info.fileVersionMs = ReadU32(v, 8);
    info.fileVersionLs = ReadU32(v, 12);
    info.productVersionMs = ReadU32(v, 16);
    info.productVersionLs = ReadU32(v, 20);
    info.fileFlagsMask = ReadU32(v, 24);
    info.fileFlags = ReadU32(v, 28);
    info.fileOs = ReadU32(v, 32);
    info.fileType = ReadU32(v, 36);
    info.fileSubtype = ReadU32(v, 40);
    return info;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace pe
