// The program file as shipped: build/Tavirel.exe, read as bytes. Its
// headers, its security flags, the DLLs it needs at run time, and its icon,
// version information and manifest. TAVIREL_PROGRAM names another file to
// check; the 64-bit build of the same sources is checked too when it has been
// built (TAVIREL_PROGRAM_WIN64).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "pe_file.h"
#include "version_info.h"

namespace {

using pe::PeFile;

struct Build {
    const char* label;
    const char* pathVariable;  // environment variable naming another file
    const char* defaultPath;   // baked in when the tests were configured
    std::uint16_t machine;
    std::uint16_t magic;
    bool required;  // the shipped program must be there; the 64-bit one may not have been built
};

const Build kBuilds[] = {
    {"Shipped32", "TAVIREL_PROGRAM", TAVIREL_DEFAULT_PROGRAM, pe::kMachineI386, pe::kMagicPe32, true},
    {"Win64", "TAVIREL_PROGRAM_WIN64", TAVIREL_DEFAULT_PROGRAM_WIN64, pe::kMachineAmd64, pe::kMagicPe32Plus, false},
};

// Test names and messages show the build by its label.
void PrintTo(const Build& build, std::ostream* out) { *out << build.label; }

std::string PathOf(const Build& build) {
    const char* chosen = std::getenv(build.pathVariable);
    return chosen != nullptr && *chosen != '\0' ? chosen : build.defaultPath;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Hex(std::uint32_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << value;
    return out.str();
}

class ProgramFile : public ::testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        const Build& build = GetParam();
        path_ = PathOf(build);
        if (!std::filesystem::is_regular_file(path_)) {
            if (build.required) {
                FAIL() << "The program file " << path_ << " is missing: build it first "
                       << "(scripts/lib/build.sh: tavirel_build build mingw-i686), or name it in "
                       << build.pathVariable << ".";
            }
            GTEST_SKIP() << path_ << " has not been built; set " << build.pathVariable << " to check another.";
        }
        try {
            file_.emplace(PeFile::Load(path_));
        } catch (const pe::PeError& error) {
            FAIL() << path_ << " is no readable program file: " << error.what();
        }
    }

    const PeFile& File() const { return *file_; }

    // The resource of that type and id; a test failure when it is missing.
    std::span<const std::uint8_t> Resource(std::uint32_t type, std::uint32_t id) {
        const auto entry = File().FindResource(type, id);
        if (!entry) {
            ADD_FAILURE() << path_ << " has no resource of type " << type << " and id " << id;
            return {};
        }
        return entry->data;
    }

    std::string path_;
    std::optional<PeFile> file_;
};

// --- Headers ---------------------------------------------------------------

TEST_P(ProgramFile, IsAWindowsGuiProgramForItsMachine) {
    EXPECT_EQ(File().Magic(), GetParam().magic) << "optional header magic (0x10B PE32, 0x20B PE32+)";
    EXPECT_EQ(File().Machine(), GetParam().machine) << "machine (0x14C i386, 0x8664 x86-64)";
    EXPECT_EQ(File().Subsystem(), pe::kSubsystemWindowsGui) << "subsystem (2 Windows GUI, 3 console)";
}

// --- Security flags --------------------------------------------------------

TEST_P(ProgramFile, AsksForAddressSpaceRandomisationAndNoExecuteData) {
    const std::uint16_t flags = File().DllCharacteristics();
    EXPECT_NE(flags & pe::kDllDynamicBase, 0) << "DllCharacteristics " << Hex(flags) << " lacks DYNAMIC_BASE";
    EXPECT_NE(flags & pe::kDllNxCompat, 0) << "DllCharacteristics " << Hex(flags) << " lacks NX_COMPAT";
}

// A program loaded at another base than its preferred one needs its base
// relocations; without them DYNAMIC_BASE on i686 does nothing.
TEST_P(ProgramFile, KeepsItsBaseRelocations) {
    EXPECT_EQ(File().FileCharacteristics() & pe::kFileRelocsStripped, 0) << "the relocations were stripped";
    const pe::DataDirectory relocations = File().Directory(pe::kDirBaseReloc);
    ASSERT_NE(relocations.rva, 0u) << "no base relocation directory";
    ASSERT_GE(relocations.size, 8u) << "empty base relocation directory";
    const auto blocks = File().BytesAt(relocations.rva, relocations.size);

    // Walk the blocks: page RVA, block size, then 16-bit entries.
    std::size_t at = 0;
    std::size_t fixups = 0;
    while (at + 8 <= blocks.size()) {
        const std::uint32_t blockSize = pe::ReadU32(blocks, at + 4);
        if (blockSize == 0) break;  // padding after the last block
        ASSERT_GE(blockSize, 8u) << "base relocation block at " << at << " is too short";
        ASSERT_LE(at + blockSize, blocks.size()) << "base relocation block at " << at << " runs past the directory";
        for (std::size_t e = at + 8; e + 2 <= at + blockSize; e += 2) {
            if ((pe::ReadU16(blocks, e) >> 12) != 0) ++fixups;  // type 0 only pads a block
        }
        at += blockSize;
    }
    EXPECT_GT(fixups, 0u) << "the base relocation directory fixes up nothing";
}

TEST_P(ProgramFile, HasNoSectionBothWritableAndExecutable) {
    ASSERT_FALSE(File().Sections().empty());
    for (const pe::Section& section : File().Sections()) {
        const bool writable = (section.characteristics & pe::kSectionWrite) != 0;
        const bool executable =
            (section.characteristics & (pe::kSectionExecute | pe::kSectionCode)) != 0;
        EXPECT_FALSE(writable && executable)
            << "section " << section.name << " is writable and executable (" << Hex(section.characteristics) << ")";
    }
}

// --- Run-time dependencies -------------------------------------------------

// DLLs that every Windows since 7 has in its system folder.
const std::set<std::string> kSystemDlls = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",    "msvcrt.dll",   "advapi32.dll", "shell32.dll",
    "comctl32.dll", "comdlg32.dll", "ole32.dll",   "oleaut32.dll", "shlwapi.dll",  "uxtheme.dll",
    "imm32.dll",    "version.dll", "winmm.dll",    "ntdll.dll",
};

TEST_P(ProgramFile, NeedsOnlyWindowsOwnDlls) {
    const std::vector<std::string> dlls = File().ImportedDlls();
    ASSERT_FALSE(dlls.empty()) << "no import directory: the program could not call Windows at all";
    std::set<std::string> seen;
    for (const std::string& dll : dlls) {
        const std::string name = Lower(dll);
        seen.insert(name);
        EXPECT_EQ(kSystemDlls.count(name), 1u) << path_ << " needs " << dll << ", which Windows does not ship";
        // The compiler's runtimes must be linked in, never shipped beside the program.
        EXPECT_FALSE(name.starts_with("libstdc++") || name.starts_with("libgcc") ||
                     name.starts_with("libwinpthread"))
            << path_ << " needs the compiler runtime " << dll;
    }
    // What the window and its painting use.
    for (const char* needed : {"kernel32.dll", "user32.dll", "gdi32.dll"}) {
        EXPECT_EQ(seen.count(needed), 1u) << "does not import " << needed;
    }
}

// --- The icon --------------------------------------------------------------

constexpr std::uint32_t kIconGroup = 1;
constexpr std::uint32_t kIconImage = 30001;

TEST_P(ProgramFile, IconGroupOneNamesOne32x32SixteenColourImage) {
    const auto group = Resource(pe::kRtGroupIcon, kIconGroup);
    ASSERT_GE(group.size(), 6u + 14u) << "icon group 1 is too short";
    EXPECT_EQ(pe::ReadU16(group, 0), 0) << "reserved";
    EXPECT_EQ(pe::ReadU16(group, 2), 1) << "resource type 1 (icon)";
    ASSERT_EQ(pe::ReadU16(group, 4), 1) << "number of images in the group";
    ASSERT_EQ(group.size(), 6u + 14u) << "the group's size does not match its one entry";
    EXPECT_EQ(group[6], 32) << "width";
    EXPECT_EQ(group[7], 32) << "height";
    EXPECT_EQ(group[8], 16) << "colour count";
    EXPECT_EQ(pe::ReadU16(group, 10), 1) << "planes";
    EXPECT_EQ(pe::ReadU16(group, 12), 4) << "bits per pixel";
    EXPECT_EQ(pe::ReadU16(group, 18), kIconImage) << "the image's RT_ICON id";

    const auto image = File().FindResource(pe::kRtIcon, kIconImage);
    ASSERT_TRUE(image.has_value()) << "the group names RT_ICON " << kIconImage << ", which is missing";
    EXPECT_EQ(pe::ReadU32(group, 14), image->data.size()) << "the group's byte count of the image";
}

// The icon's pixels, top row first: -1 transparent, else the RGB colour.
struct IconPicture {
    int width = 0, height = 0;
    std::vector<long> pixels;
    long At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

constexpr long Rgb(int r, int g, int b) { return (long{r} << 16) | (long{g} << 8) | long{b}; }
constexpr long kTransparent = -1;
constexpr long kBlack = Rgb(0, 0, 0);
constexpr long kDarkBlue = Rgb(0, 0, 128);
constexpr long kRed = Rgb(255, 0, 0);

// Decodes a 4-bit icon image: BITMAPINFOHEADER (twice the height: XOR and
// AND masks), 16 palette entries, the XOR rows and the AND rows, bottom up.
IconPicture DecodeIcon(std::span<const std::uint8_t> image) {
    IconPicture picture;
    const std::uint32_t headerSize = pe::ReadU32(image, 0);
    picture.width = static_cast<int>(pe::ReadU32(image, 4));
    picture.height = static_cast<int>(pe::ReadU32(image, 8)) / 2;
    const int bits = pe::ReadU16(image, 14);
    const std::uint32_t compression = pe::ReadU32(image, 16);
    std::uint32_t coloursUsed = pe::ReadU32(image, 32);
    if (bits != 4 || compression != 0 || picture.width <= 0 || picture.height <= 0 || picture.width > 256 ||
        picture.height > 256) {
        throw pe::PeError("not an uncompressed 4-bit icon image");
    }
    if (coloursUsed == 0) coloursUsed = 16;
    const std::size_t palette = headerSize;
    const std::size_t xorRows = palette + 4 * std::size_t{coloursUsed};
    const std::size_t xorStride = ((static_cast<std::size_t>(picture.width) * 4 + 31) / 32) * 4;
    const std::size_t andRows = xorRows + xorStride * static_cast<std::size_t>(picture.height);
    const std::size_t andStride = ((static_cast<std::size_t>(picture.width) + 31) / 32) * 4;
    if (andRows + andStride * static_cast<std::size_t>(picture.height) > image.size()) {
        throw pe::PeError("icon image shorter than its masks");
    }
    for (int y = 0; y < picture.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t ux = static_cast<std::size_t>(x);
            const bool transparent = (image[andRows + row * andStride + ux / 8] >> (7 - ux % 8)) & 1;
            const std::uint8_t pair = image[xorRows + row * xorStride + ux / 2];
            const std::uint32_t index = (ux % 2 == 0) ? (pair >> 4) : (pair & 0xF);
            if (index >= coloursUsed) throw pe::PeError("pixel beyond the palette");
            const std::size_t entry = palette + 4 * std::size_t{index};  // blue, green, red, 0
            picture.pixels.push_back(transparent ? kTransparent : Rgb(image[entry + 2], image[entry + 1], image[entry]));
        }
    }
    return picture;
}

TEST_P(ProgramFile, IconImageIsBlackDarkBlueAndRedOnTransparent) {
    const auto image = Resource(pe::kRtIcon, kIconImage);
    ASSERT_GE(image.size(), 40u) << "no BITMAPINFOHEADER";
    EXPECT_EQ(pe::ReadU32(image, 0), 40u) << "BITMAPINFOHEADER size";
    EXPECT_EQ(pe::ReadU32(image, 4), 32u) << "width";
    EXPECT_EQ(pe::ReadU32(image, 8), 64u) << "height (the XOR and AND masks)";
    EXPECT_EQ(pe::ReadU16(image, 12), 1) << "planes";
    ASSERT_EQ(pe::ReadU16(image, 14), 4) << "bits per pixel";
    EXPECT_EQ(pe::ReadU32(image, 16), 0u) << "compression (BI_RGB)";

    const IconPicture picture = DecodeIcon(image);
    std::map<long, int> counts;
    for (long pixel : picture.pixels) ++counts[pixel];
    for (const auto& [colour, count] : counts) {
        EXPECT_TRUE(colour == kTransparent || colour == kBlack || colour == kDarkBlue || colour == kRed)
            << count << " pixels of colour " << Hex(static_cast<std::uint32_t>(colour))
            << " (RGB): only black, dark blue and red belong in the icon";
    }
    EXPECT_GT(counts[kTransparent], 0) << "no transparent pixel";
    EXPECT_GT(counts[kBlack], 0) << "no black pixel";
    EXPECT_GT(counts[kDarkBlue], 0) << "no dark blue pixel";
    EXPECT_GT(counts[kRed], 0) << "no red pixel";
}

// The icon's resources are made from its editable picture; the program must
// carry that picture, not an older one.
TEST_P(ProgramFile, IconImageIsTheEditablePicture) {
    std::ifstream in(TAVIREL_ICON_PICTURE);
    ASSERT_TRUE(in) << "cannot read " << TAVIREL_ICON_PICTURE;
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') rows.push_back(line);
    }
    const IconPicture picture = DecodeIcon(Resource(pe::kRtIcon, kIconImage));
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(picture.height));
    const std::map<char, long> kLegend = {{'.', kTransparent}, {'K', kBlack}, {'B', kDarkBlue}, {'R', kRed}};
    int differences = 0;
    for (int y = 0; y < picture.height; ++y) {
        ASSERT_EQ(rows[static_cast<std::size_t>(y)].size(), static_cast<std::size_t>(picture.width)) << "row " << y;
        for (int x = 0; x < picture.width; ++x) {
            const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            ASSERT_EQ(kLegend.count(c), 1u) << "unknown letter '" << c << "' in the picture";
            if (picture.At(x, y) != kLegend.at(c) && ++differences <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") differs from the picture's '" << c << "'";
            }
        }
    }
    EXPECT_EQ(differences, 0) << "pixels that differ from " << TAVIREL_ICON_PICTURE;
}

// --- Version information ---------------------------------------------------

TEST_P(ProgramFile, VersionIsOneZeroZeroZeroOfAnApplication) {
    const auto resource = Resource(pe::kRtVersion, 1);
    ASSERT_FALSE(resource.empty());
    const pe::VersionBlock root = pe::ParseVersionInfo(resource);
    EXPECT_EQ(pe::ToUtf8(root.key), "VS_VERSION_INFO");
    const auto fixed = pe::ReadFixedFileInfo(root);
    ASSERT_TRUE(fixed.has_value()) << "no VS_FIXEDFILEINFO";
    EXPECT_EQ(fixed->signature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->fileVersionMs, 0x00010000u) << "file version 1.0";
    EXPECT_EQ(fixed->fileVersionLs, 0x00000000u) << "file version .0.0";
    EXPECT_EQ(fixed->productVersionMs, 0x00010000u) << "product version 1.0";
    EXPECT_EQ(fixed->productVersionLs, 0x00000000u) << "product version .0.0";
    EXPECT_EQ(fixed->fileType, 1u) << "file type VFT_APP";
}

TEST_P(ProgramFile, VersionStringsNameTavirelInUsEnglishUnicode) {
    const auto resource = Resource(pe::kRtVersion, 1);
    ASSERT_FALSE(resource.empty());
    const pe::VersionBlock root = pe::ParseVersionInfo(resource);
    const pe::VersionBlock* strings = root.Child(u"StringFileInfo");
    ASSERT_NE(strings, nullptr) << "no StringFileInfo block";
    const pe::VersionBlock* table = strings->Child(u"040904B0");
    ASSERT_NE(table, nullptr) << "no string table 040904B0 (US English, Unicode)";
    const std::pair<std::u16string_view, std::string> kExpected[] = {
        {u"ProductName", "Tavirel"}, {u"FileDescription", "Tavirel"},      {u"InternalName", "Tavirel"},
        {u"Comments", "Tavirel"},    {u"OriginalFilename", "Tavirel.exe"},
    };
    for (const auto& [name, value] : kExpected) {
        const pe::VersionBlock* entry = table->Child(name);
        if (entry == nullptr) {
            ADD_FAILURE() << "no " << pe::ToUtf8(name) << " in the version strings";
            continue;
        }
        EXPECT_EQ(pe::ToUtf8(entry->Text()), value) << pe::ToUtf8(name);
    }

    const pe::VersionBlock* vars = root.Child(u"VarFileInfo");
    ASSERT_NE(vars, nullptr) << "no VarFileInfo block";
    const pe::VersionBlock* translation = vars->Child(u"Translation");
    ASSERT_NE(translation, nullptr) << "no Translation in VarFileInfo";
    ASSERT_EQ(translation->value.size(), 4u) << "one language and code page pair";
    EXPECT_EQ(pe::ReadU16(translation->value, 0), 0x0409) << "language US English";
    EXPECT_EQ(pe::ReadU16(translation->value, 2), 1200) << "code page 1200 (Unicode)";
}

// --- Manifest --------------------------------------------------------------

TEST_P(ProgramFile, ManifestDeclaresTheProgramDpiAware) {
    const auto resource = Resource(pe::kRtManifest, 1);
    ASSERT_FALSE(resource.empty());
    const std::string manifest(resource.begin(), resource.end());
    const std::size_t open = manifest.find("<dpiAware");
    ASSERT_NE(open, std::string::npos) << "the manifest has no dpiAware element:\n" << manifest;
    const std::size_t start = manifest.find('>', open);
    const std::size_t end = manifest.find("</dpiAware>", open);
    ASSERT_TRUE(start != std::string::npos && end != std::string::npos && start < end);
    std::string value = manifest.substr(start + 1, end - start - 1);
    value.erase(0, value.find_first_not_of(" \t\r\n"));
    value.erase(value.find_last_not_of(" \t\r\n") + 1);
    EXPECT_EQ(Lower(value), "true") << "dpiAware";
}

INSTANTIATE_TEST_SUITE_P(Builds, ProgramFile, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<Build>& build) { return std::string(build.param.label); });

// --- The reader on damaged files -------------------------------------------

std::vector<std::uint8_t> ShippedBytes() {
    std::ifstream in(PathOf(kBuilds[0]), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PeReader, RejectsWhatIsNoProgramFile) {
    EXPECT_THROW(PeFile::Parse({}), pe::PeError);
    EXPECT_THROW(PeFile::Parse({'M', 'Z'}), pe::PeError);
    std::vector<std::uint8_t> text(4096, 'x');
    EXPECT_THROW(PeFile::Parse(text), pe::PeError);
}

TEST(PeReader, ReportsATruncatedProgramInsteadOfReadingPastIt) {
    std::vector<std::uint8_t> bytes = ShippedBytes();
    ASSERT_GT(bytes.size(), 4096u) << "the shipped program is missing";
    const PeFile whole = PeFile::Parse(bytes);
    const pe::Section* resources = whole.SectionAt(whole.Directory(pe::kDirResource).rva);
    ASSERT_NE(resources, nullptr);
    const std::size_t resourcesAt = resources->rawOffset;
    // Cut inside the resource section: the headers still read, the resources do not.
    bytes.resize(resourcesAt + 16);
    const PeFile cut = PeFile::Parse(bytes);
    EXPECT_THROW(cut.Resources(), pe::PeError);
    // Cut inside the headers.
    bytes.resize(0x100);
    EXPECT_THROW(PeFile::Parse(bytes), pe::PeError);
}

}  // namespace
