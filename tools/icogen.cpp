// icogen: turns a text pixel map (see res/maps/README.md) into a 32 x 32,
// 16-colour .ico file with a transparency mask.
//
//   icogen MAP ICO    writes ICO from MAP
//   icogen MAP        only checks MAP
//
// A map must have exactly 32 rows of 32 characters from the legend.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int Size = 32;
const char Legend[] = "KrgobmtsdRGYBMCW";  // index = position in the 16-colour palette
const std::uint8_t Palette[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

bool ReadMap(const std::string& path, std::vector<std::string>& rows) {
    std::ifstream in(path);
    if (!in) {
        std::cerr << path << ": cannot open\n";
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line[0] == '#') continue;
        if (line.size() != Size) {
            std::cerr << path << ":" << number << ": expected " << Size << " pixels, found "
                      << line.size() << "\n";
            return false;
        }
        for (const char c : line)
            if (c != '.' && std::string(Legend).find(c) == std::string::npos) {
                std::cerr << path << ":" << number << ": '" << c << "' is not in the legend\n";
                return false;
            }
        rows.push_back(line);
    }
    if (rows.size() != Size) {
        std::cerr << path << ": expected " << Size << " rows, found " << rows.size() << "\n";
        return false;
    }
    return true;
}

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The image: header, palette, colour rows and mask rows, bottom row first.
std::string Image(const std::vector<std::string>& rows) {
    std::string image;
    Put32(image, 40);        // BITMAPINFOHEADER size
    Put32(image, Size);      // width
    Put32(image, Size * 2);  // height of colour and mask together
    Put16(image, 1);         // planes
    Put16(image, 4);         // bits per pixel
    Put32(image, 0);         // no compression
    Put32(image, Size * Size / 2 + Size * Size / 8);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 16);  // colours used
    Put32(image, 0);
    for (const auto& rgb : Palette) {
        image += static_cast<char>(rgb[2]);
        image += static_cast<char>(rgb[1]);
        image += static_cast<char>(rgb[0]);
        image += '\0';
    }
    for (int y = Size - 1; y >= 0; --y)
        for (int x = 0; x < Size; x += 2) {
            const auto index = [&](int at) {
                const char c = rows[y][at];
                return c == '.' ? 0 : static_cast<int>(std::string(Legend).find(c));
            };
            image += static_cast<char>((index(x) << 4) | index(x + 1));
        }
    for (int y = Size - 1; y >= 0; --y)  // rows of 32 bits are already 4-byte aligned
        for (int x = 0; x < Size; x += 8) {
            int bits = 0;
            for (int i = 0; i < 8; ++i)
                if (rows[y][x + i] == '.') bits |= 0x80 >> i;
            image += static_cast<char>(bits);
        }
    return image;
}

std::string Icon(const std::vector<std::string>& rows) {
    const std::string image = Image(rows);
    std::string icon;
    Put16(icon, 0);  // reserved
    Put16(icon, 1);  // an icon
    Put16(icon, 1);  // one image
    icon += static_cast<char>(Size);
    icon += static_cast<char>(Size);
    icon += static_cast<char>(16);  // colours
    icon += '\0';
    Put16(icon, 1);  // planes
    Put16(icon, 4);  // bits per pixel
    Put32(icon, static_cast<std::uint32_t>(image.size()));
    Put32(icon, 6 + 16);  // the image follows the directory
    return icon + image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: icogen MAP [ICO]\n";
        return 2;
    }
    std::vector<std::string> rows;
    if (!ReadMap(argv[1], rows)) return 1;
    if (argc == 2) return 0;
    std::ofstream out(argv[2], std::ios::binary);
    const std::string icon = Icon(rows);
    out.write(icon.data(), static_cast<std::streamsize>(icon.size()));
    if (!out) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
