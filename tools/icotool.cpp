// Turns a picture drawn as text into a Windows .ico file, so the program's
// icons live in the repository in a form whose changes can be reviewed.
//
// The text holds one line per pixel row, top row first, every row the same
// width (16 or 32). Each character is a colour of the standard 16-colour
// palette: '0'..'9' and 'a'..'f' (0 black, 4 maroon... f white), or '.' for
// a transparent pixel. Lines starting with '#' are comments.
//
// Usage: icotool input.txt output.ico

#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Blue, green, red, reserved: the 16 colours of the VGA palette.
// In that order: black, navy, green, teal, maroon, purple, olive, silver,
// grey, blue, lime, aqua, red, fuchsia, yellow, white.
const uint8_t kPalette[16][4] = {
    {0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0}, {0x80, 0x80, 0x00, 0},
    {0x00, 0x00, 0x80, 0}, {0x80, 0x00, 0x80, 0}, {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0x80, 0x80, 0x80, 0}, {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0x00, 0},
    {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0}, {0xFF, 0xFF, 0xFF, 0},
};

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int ColourIndex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;  // transparent
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: icotool input.txt output.ico\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "icotool: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        rows.push_back(line);
    }
    const size_t height = rows.size();
    const size_t width = height ? rows[0].size() : 0;
    if ((width != 16 && width != 32) || height != width) {
        std::cerr << "icotool: " << argv[1] << " must be 16x16 or 32x32\n";
        return 1;
    }
    for (size_t y = 0; y < height; ++y) {
        for (const char c : rows[y]) {
            if (c != '.' && ColourIndex(c) < 0) {
                std::cerr << "icotool: " << argv[1] << ":" << y + 1 << ": bad colour '" << c << "'\n";
                return 1;
            }
        }
        if (rows[y].size() != width) {
            std::cerr << "icotool: " << argv[1] << ": row " << y + 1 << " has the wrong width\n";
            return 1;
        }
    }

    const size_t xorStride = width / 2;                  // 4 bits a pixel, rows of whole dwords
    const size_t andStride = ((width + 31) / 32) * 4;    // 1 bit a pixel, dword-aligned
    const uint32_t imageSize = static_cast<uint32_t>(40 + 16 * 4 + (xorStride + andStride) * height);

    std::vector<uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // type: icon
    Put16(out, 1);  // one image
    out.push_back(static_cast<uint8_t>(width));
    out.push_back(static_cast<uint8_t>(height));
    out.push_back(16);  // colours
    out.push_back(0);
    Put16(out, 1);      // planes
    Put16(out, 4);      // bits per pixel
    Put32(out, imageSize);
    Put32(out, 6 + 16);  // offset of the image

    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height * 2));  // colour and mask together
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>((xorStride + andStride) * height));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (const auto& colour : kPalette)
        out.insert(out.end(), colour, colour + 4);

    for (size_t y = height; y-- > 0;) {  // bottom-up
        for (size_t x = 0; x < width; x += 2) {
            const int hi = ColourIndex(rows[y][x]);
            const int lo = ColourIndex(rows[y][x + 1]);
            out.push_back(static_cast<uint8_t>(((hi < 0 ? 0 : hi) << 4) | (lo < 0 ? 0 : lo)));
        }
    }
    for (size_t y = height; y-- > 0;) {
        std::vector<uint8_t> mask(andStride, 0);
        for (size_t x = 0; x < width; ++x)
            if (rows[y][x] == '.')
                mask[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), mask.begin(), mask.end());
    }

    std::ofstream file(argv[2], std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::cerr << "icotool: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
