#include "pe_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace pe {

namespace {

std::string Hex(std::uint64_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "0x" + text;
}

void Need(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t size) {
    if (offset > bytes.size() || size > bytes.size() - offset) {
        throw PeError("read of " + std::to_string(size) + " bytes at " + Hex(offset) + " past the end (" +
                      std::to_string(bytes.size()) + " bytes)");
    }
}

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::size_t kDelayDescriptorSize = 32;
constexpr std::uint32_t kResourceSubdirectory = 0x80000000u;
constexpr std::uint32_t kResourceNamed = 0x80000000u;
// No sane program file has more; a cycle in a damaged file stops here too.
constexpr std::size_t kMaxDescriptors = 4096;

}  // namespace

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    Need(bytes, offset, 2);
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    Need(bytes, offset, 4);
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

std::uint64_t ReadU64(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint64_t>(ReadU32(bytes, offset)) |
           (static_cast<std::uint64_t>(ReadU32(bytes, offset + 4)) << 32);
}

PeFile PeFile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PeError("cannot open " + path);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw PeError("cannot read " + path);
    return Parse(std::move(bytes));
}

PeFile PeFile::Parse(std::vector<std::uint8_t> bytes) {
    PeFile file;
    file.bytes_ = std::move(bytes);
    file.ParseHeaders();
    return file;
}

void PeFile::ParseHeaders() {
    const std::span<const std::uint8_t> all(bytes_);
    if (ReadU16(all, 0) != 0x5A4D) throw PeError("no MZ signature");
    const std::size_t pe = ReadU32(all, 0x3C);
    if (ReadU32(all, pe) != 0x00004550) throw PeError("no PE signature at " + Hex(pe));

    const std::size_t coff = pe + 4;
    machine_ = ReadU16(all, coff);
    const std::size_t sectionCount = ReadU16(all, coff + 2);
    const std::uint32_t symbolTable = ReadU32(all, coff + 8);
    const std::uint32_t symbolCount = ReadU32(all, coff + 12);
    const std::size_t optionalSize = ReadU16(all, coff + 16);
    fileCharacteristics_ = ReadU16(all, coff + 18);

    const std::size_t opt = coff + 20;
    Need(all, opt, optionalSize);
    magic_ = ReadU16(all, opt);
    std::size_t directoryCountAt = 0;
    if (magic_ == kMagicPe32) {
        directoryCountAt = 92;
    } else if (magic_ == kMagicPe32Plus) {
        directoryCountAt = 108;
    } else {
        throw PeError("unknown optional header magic " + Hex(magic_));
    }
    if (optionalSize < directoryCountAt + 4) throw PeError("optional header too short");
    subsystem_ = ReadU16(all, opt + 68);
    dllCharacteristics_ = ReadU16(all, opt + 70);
    const std::size_t directoryCount = ReadU32(all, opt + directoryCountAt);
    const std::size_t directoriesAt = opt + directoryCountAt + 4;
    for (std::size_t i = 0; i < std::min<std::size_t>(directoryCount, 16); ++i) {
        if (directoriesAt + 8 * (i + 1) > opt + optionalSize) throw PeError("data directory past the optional header");
        directories_.push_back({ReadU32(all, directoriesAt + 8 * i), ReadU32(all, directoriesAt + 8 * i + 4)});
    }

    // Long section names ("/14") point into the COFF string table, which
    // follows the symbol table.
    const std::uint64_t stringTable = static_cast<std::uint64_t>(symbolTable) + std::uint64_t{18} * symbolCount;
    auto longName = [&](const std::string& raw) -> std::string {
        if (symbolTable == 0 || raw.size() < 2 || raw[0] != '/') return raw;
        std::uint64_t offset = 0;
        for (std::size_t i = 1; i < raw.size(); ++i) {
            if (raw[i] < '0' || raw[i] > '9') return raw;
            offset = offset * 10 + static_cast<std::uint64_t>(raw[i] - '0');
        }
        std::string name;
        for (std::uint64_t at = stringTable + offset; at < bytes_.size() && bytes_[at] != 0; ++at) {
            name.push_back(static_cast<char>(bytes_[at]));
        }
        return name;
    };

    const std::size_t table = opt + optionalSize;
    Need(all, table, sectionCount * kSectionHeaderSize);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = table + i * kSectionHeaderSize;
        Section section;
        for (std::size_t c = 0; c < 8 && bytes_[at + c] != 0; ++c) section.name.push_back(static_cast<char>(bytes_[at + c]));
        section.name = longName(section.name);
        section.virtualSize = ReadU32(all, at + 8);
        section.virtualAddress = ReadU32(all, at + 12);
        section.rawSize = ReadU32(all, at + 16);
        section.rawOffset = ReadU32(all, at + 20);
        section.characteristics = ReadU32(all, at + 36);
        sections_.push_back(section);
    }

    // The image base: delay-load descriptors of old linkers hold addresses
    // instead of RVAs.
    imageBase_ = magic_ == kMagicPe32 ? ReadU32(all, opt + 28) : ReadU64(all, opt + 24);
}

DataDirectory PeFile::Directory(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= directories_.size()) return {};
    return directories_[static_cast<std::size_t>(index)];
}

const Section* PeFile::SectionAt(std::uint32_t rva) const {
    for (const Section& section : sections_) {
        const std::uint64_t extent = std::max(section.virtualSize, section.rawSize);
        if (rva >= section.virtualAddress && rva - section.virtualAddress < extent) return &section;
    }
    return nullptr;
}

std::span<const std::uint8_t> PeFile::BytesAt(std::uint32_t rva, std::uint32_t size) const {
    const Section* section = SectionAt(rva);
    if (section == nullptr) throw PeError("RVA " + Hex(rva) + " lies in no section");
    // Only what the file holds and the loader maps.
    std::uint64_t limit = section->rawSize;
    if (section->virtualSize != 0) limit = std::min<std::uint64_t>(limit, section->virtualSize);
    const std::uint64_t start = rva - section->virtualAddress;
    if (start + size > limit) {
        throw PeError(std::to_string(size) + " bytes at RVA " + Hex(rva) + " run past the data of section " +
                      section->name);
    }
    const std::uint64_t offset = section->rawOffset + start;
    Need(bytes_, offset, size);
    return std::span<const std::uint8_t>(bytes_).subspan(offset, size);
}

std::string PeFile::StringAt(std::uint32_t rva) const {
    const Section* section = SectionAt(rva);
    if (section == nullptr) throw PeError("string at RVA " + Hex(rva) + " lies in no section");
    std::uint64_t limit = section->rawSize;
    if (section->virtualSize != 0) limit = std::min<std::uint64_t>(limit, section->virtualSize);
    const std::span<const std::uint8_t> rest =
        BytesAt(rva, static_cast<std::uint32_t>(limit - (rva - section->virtualAddress)));
    std::string text;
    for (std::uint8_t c : rest) {
        if (c == 0) return text;
        text.push_back(static_cast<char>(c));
    }
    throw PeError("string at RVA " + Hex(rva) + " has no end");
}

std::vector<std::string> PeFile::ImportedDlls() const {
    std::vector<std::string> names;
    const DataDirectory imports = Directory(kDirImport);
    if (imports.rva != 0) {
        for (std::size_t i = 0;; ++i) {
            if (i == kMaxDescriptors) throw PeError("import directory has no end");
            const auto descriptor = BytesAt(static_cast<std::uint32_t>(imports.rva + i * kImportDescriptorSize),
                                            kImportDescriptorSize);
            if (std::all_of(descriptor.begin(), descriptor.end(), [](std::uint8_t b) { return b == 0; })) break;
            names.push_back(StringAt(ReadU32(descriptor, 12)));
        }
    }
    const DataDirectory delayed = Directory(kDirDelayImport);
    if (delayed.rva != 0) {
        for (std::size_t i = 0;; ++i) {
            if (i == kMaxDescriptors) throw PeError("delay-load directory has no end");
            const auto descriptor = BytesAt(static_cast<std::uint32_t>(delayed.rva + i * kDelayDescriptorSize),
                                            kDelayDescriptorSize);
            if (std::all_of(descriptor.begin(), descriptor.end(), [](std::uint8_t b) { return b == 0; })) break;
            const bool rvaBased = (ReadU32(descriptor, 0) & 1) != 0;
            std::uint64_t name = ReadU32(descriptor, 4);
            if (!rvaBased) name -= imageBase_;
            names.push_back(StringAt(static_cast<std::uint32_t>(name)));
        }
    }
    return names;
}

std::vector<ResourceEntry> PeFile::Resources() const {
    std::vector<ResourceEntry> found;
    const DataDirectory dir = Directory(kDirResource);
    if (dir.rva == 0 || dir.size == 0) return found;
    const std::span<const std::uint8_t> tree = BytesAt(dir.rva, dir.size);

    // Entries of the directory at an offset of the tree: (name or id, offset).
    auto entries = [&](std::size_t at) {
        const std::size_t count = std::size_t{ReadU16(tree, at + 12)} + ReadU16(tree, at + 14);
        std::vector<std::pair<std::uint32_t, std::uint32_t>> list;
        for (std::size_t i = 0; i < count; ++i) {
            list.emplace_back(ReadU32(tree, at + 16 + 8 * i), ReadU32(tree, at + 20 + 8 * i));
        }
        return list;
    };
    auto subdirectory = [&](std::uint32_t offset) -> std::size_t {
        if ((offset & kResourceSubdirectory) == 0) throw PeError("resource tree: data where a directory belongs");
        return offset & ~kResourceSubdirectory;
    };

    for (const auto& [type, typeOffset] : entries(0)) {
        if (type & kResourceNamed) continue;
        for (const auto& [id, idOffset] : entries(subdirectory(typeOffset))) {
            if (id & kResourceNamed) continue;
            for (const auto& [language, dataOffset] : entries(subdirectory(idOffset))) {
                if (dataOffset & kResourceSubdirectory) throw PeError("resource tree deeper than three levels");
                const std::uint32_t rva = ReadU32(tree, dataOffset);
                const std::uint32_t size = ReadU32(tree, dataOffset + 4);
                found.push_back({type, id, language, BytesAt(rva, size)});
            }
        }
    }
    return found;
}

std::optional<ResourceEntry> PeFile::FindResource(std::uint32_t type, std::uint32_t id) const {
    for (const ResourceEntry& entry : Resources()) {
        if (entry.type == type && entry.id == id) return entry;
    }
    return std::nullopt;
}

}  // namespace pe
