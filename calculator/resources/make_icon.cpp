// Builds the program's icon resources from the picture in tavirel_icon.txt:
//   make_icon tavirel_icon.txt OUTDIR
// writes OUTDIR/tavirel_icon_30001.bin (the 32 x 32, 16-colour image with its
// transparency mask, as an icon resource holds it), OUTDIR/tavirel_icon_group.bin
// (icon group 1, naming image 30001) and OUTDIR/tavirel.ico (the same picture
// as an icon file, for people and editors).
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr std::uint16_t kImageId = 30001;

// The standard 16-colour palette, each colour as (red, green, blue); the
// image holds it as RGBQUADs, whose bytes run the other way: blue, green,
// red, 0.
constexpr std::uint8_t kPalette[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                          {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

const std::map<char, int> kLegend = {{'.', -1}, {'K', 0}, {'B', 4}, {'R', 9}};

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
void Put32(Bytes& out, unsigned value) {
    Put16(out, value & 0xFFFF);
    Put16(out, (value >> 16) & 0xFFFF);
}

// The image as an icon resource: header, palette, colour rows and mask rows,
// both bottom-up.
Bytes ImageResource(const std::vector<std::string>& rows) {
    Bytes out;
    constexpr unsigned kColourBytes = kSize * kSize / 2;
    constexpr unsigned kMaskBytes = kSize * 4;
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, kSize * 2);  // colour and mask stacked
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, kColourBytes + kMaskBytes);
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (const auto& colour : kPalette) {
        out.push_back(colour[2]);
        out.push_back(colour[1]);
        out.push_back(colour[0]);
        out.push_back(0);
    }
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 2) {
            const int left = std::max(kLegend.at(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]), 0);
            const int right = std::max(kLegend.at(rows[static_cast<size_t>(y)][static_cast<size_t>(x) + 1]), 0);
            out.push_back(static_cast<std::uint8_t>(left << 4 | right));
        }
    }
    for (int y = kSize - 1; y >= 0; --y) {
        std::uint32_t bits = 0;
        for (int x = 0; x < kSize; ++x) {
            if (kLegend.at(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]) < 0)
                bits |= 1u << (31 - x);
        }
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
    return out;
}

void PutEntryStart(Bytes& out, std::size_t imageBytes) {
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(16);  // colours
    out.push_back(0);
    Put16(out, 1);  // planes
    Put16(out, 4);  // bits per pixel
    Put32(out, static_cast<unsigned>(imageBytes));
}

bool Write(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_icon PICTURE.txt OUTDIR\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line.size() != kSize) {
            std::cerr << "make_icon: a row must have " << kSize << " pixels: " << line << '\n';
            return 1;
        }
        for (char c : line) {
            if (!kLegend.contains(c)) {
                std::cerr << "make_icon: unknown pixel '" << c << "'\n";
                return 1;
            }
        }
        rows.push_back(line);
    }
    if (rows.size() != kSize) {
        std::cerr << "make_icon: the picture must have " << kSize << " rows\n";
        return 1;
    }
    const Bytes image = ImageResource(rows);

    Bytes group;
    Put16(group, 0);
    Put16(group, 1);  // icons
    Put16(group, 1);  // one image
    PutEntryStart(group, image.size());
    Put16(group, kImageId);

    Bytes ico;
    Put16(ico, 0);
    Put16(ico, 1);
    Put16(ico, 1);
    PutEntryStart(ico, image.size());
    Put32(ico, 6 + 16);  // the image follows the directory
    ico.insert(ico.end(), image.begin(), image.end());

    const std::string dir = argv[2];
    const bool ok = Write(dir + "/tavirel_icon_30001.bin", image) && Write(dir + "/tavirel_icon_group.bin", group) &&
                    Write(dir + "/tavirel.ico", ico);
    return ok ? 0 : 1;
}
