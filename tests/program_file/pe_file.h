// A small reader of Windows program files (PE32 and PE32+): the headers,
// the section table, the import directories and the resource directory.
// Portable: every field is read byte by byte as little-endian, and every
// offset is checked against the file, so a damaged file raises PeError
// instead of reading past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace pe {

class PeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Little-endian reads from a byte range, bounds-checked.
std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint64_t ReadU64(std::span<const std::uint8_t> bytes, std::size_t offset);

inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kMagicPe32 = 0x010B;
inline constexpr std::uint16_t kMagicPe32Plus = 0x020B;
inline constexpr std::uint16_t kSubsystemWindowsGui = 2;

inline constexpr std::uint16_t kFileRelocsStripped = 0x0001;
inline constexpr std::uint16_t kDllDynamicBase = 0x0040;
inline constexpr std::uint16_t kDllNxCompat = 0x0100;

inline constexpr std::uint32_t kSectionCode = 0x00000020;
inline constexpr std::uint32_t kSectionExecute = 0x20000000;
inline constexpr std::uint32_t kSectionWrite = 0x80000000;

// Data directory entries.
inline constexpr int kDirImport = 1;
inline constexpr int kDirResource = 2;
inline constexpr int kDirBaseReloc = 5;
inline constexpr int kDirDelayImport = 13;

// Resource types.
inline constexpr std::uint32_t kRtIcon = 3;
inline constexpr std::uint32_t kRtGroupIcon = 14;
inline constexpr std::uint32_t kRtVersion = 16;
inline constexpr std::uint32_t kRtManifest = 24;

struct Section {
    std::string name;
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t characteristics = 0;
};

struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

// One resource as the directory lists it: type, numeric id, language.
struct ResourceEntry {
    std::uint32_t type = 0;
    std::uint32_t id = 0;
    std::uint32_t language = 0;
    std::span<const std::uint8_t> data;
};

class PeFile {
public:
    // Reads the whole file; PeError when it cannot be read or is no PE file.
    static PeFile Load(const std::string& path);
    // Parses a program file already in memory (the bytes are copied).
    static PeFile Parse(std::vector<std::uint8_t> bytes);

    std::uint16_t Machine() const { return machine_; }
    std::uint16_t Magic() const { return magic_; }
    std::uint16_t FileCharacteristics() const { return fileCharacteristics_; }
    std::uint16_t Subsystem() const { return subsystem_; }
    std::uint16_t DllCharacteristics() const { return dllCharacteristics_; }
    std::size_t FileSize() const { return bytes_.size(); }
    const std::vector<Section>& Sections() const { return sections_; }
    // An empty directory when the header has fewer entries.
    DataDirectory Directory(int index) const;

    // The section that holds the RVA, or null.
    const Section* SectionAt(std::uint32_t rva) const;
    // The bytes of the file at [rva, rva + size); PeError when they do not
    // all lie in one section's data in the file.
    std::span<const std::uint8_t> BytesAt(std::uint32_t rva, std::uint32_t size) const;
    // A NUL-terminated ASCII string at an RVA.
    std::string StringAt(std::uint32_t rva) const;

    // DLL names of the import directory, then of the delay-load directory,
    // as written in the file.
    std::vector<std::string> ImportedDlls() const;

    // Every resource with a numeric type and id; named ones are left out.
    std::vector<ResourceEntry> Resources() const;
    // The resource of that type and id (the first language), if any.
    std::optional<ResourceEntry> FindResource(std::uint32_t type, std::uint32_t id) const;

private:
    PeFile() = default;
    void ParseHeaders();

    std::vector<std::uint8_t> bytes_;
    std::uint16_t machine_ = 0;
    std::uint16_t magic_ = 0;
    std::uint16_t fileCharacteristics_ = 0;
    std::uint16_t subsystem_ = 0;
    std::uint16_t dllCharacteristics_ = 0;
    std::uint64_t imageBase_ = 0;
    std::vector<DataDirectory> directories_;
    std::vector<Section> sections_;
};

}  // namespace pe
