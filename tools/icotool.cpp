// Turns a picture drawn as text into a Windows .ico file, so the program's
// icons live in the repository in a form whose changes can be reviewed.
//
// The text holds one or more square pictures, each one line per pixel row,
// top row first, 16, 20, 24 or 32 pixels wide; each becomes an image of the
// icon, from which Windows takes the size it needs. Each character is a colour of the standard 16-colour
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

bool IsIconSize(size_t width)
{
    return width == 16 || width == 20 || width == 24 || width == 32;
}

int Fail(const char* file, size_t line, const std::string& message)
{
    std::cerr << "icotool: " << file << ":" << line << ": " << message << "\n";
    return 1;
}

// One picture as an icon image: its header, the palette, the colours at 4
// bits a pixel and the transparency mask at 1 bit, each row bottom-up and a
// whole number of dwords long.
std::vector<uint8_t> Image(const std::vector<std::string>& rows)
{
    const size_t size = rows.size();
    const size_t xorStride = (size * 4 + 31) / 32 * 4;
    const size_t andStride = (size + 31) / 32 * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(size));
    Put32(out, static_cast<uint32_t>(size * 2));  // colour and mask together
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>((xorStride + andStride) * size));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (const auto& colour : kPalette)
        out.insert(out.end(), colour, colour + 4);
    for (size_t y = size; y-- > 0;) {
        std::vector<uint8_t> colours(xorStride, 0);
        for (size_t x = 0; x < size; ++x) {
            const int index = ColourIndex(rows[y][x]);
            colours[x / 2] |= static_cast<uint8_t>((index < 0 ? 0 : index) << (x % 2 ? 0 : 4));
        }
        out.insert(out.end(), colours.begin(), colours.end());
    }
    for (size_t y = size; y-- > 0;) {
        std::vector<uint8_t> mask(andStride, 0);
        for (size_t x = 0; x < size; ++x)
            if (rows[y][x] == '.')
                mask[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), mask.begin(), mask.end());
    }
    return out;
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
    // The pictures, each a square of rows; a picture ends with its last row.
    std::vector<std::vector<std::string>> pictures;
    size_t lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (pictures.empty() || pictures.back().size() == pictures.back()[0].size()) {
            if (!IsIconSize(line.size()))
                return Fail(argv[1], lineNumber, "a picture must be 16, 20, 24 or 32 pixels wide");
            pictures.emplace_back();
        }
        if (!pictures.back().empty() && line.size() != pictures.back()[0].size())
            return Fail(argv[1], lineNumber, "row of the wrong width");
        for (const char c : line)
            if (c != '.' && ColourIndex(c) < 0)
                return Fail(argv[1], lineNumber, std::string("bad colour '") + c + "'");
        pictures.back().push_back(line);
    }
    if (pictures.empty() || pictures.back().size() != pictures.back()[0].size())
        return Fail(argv[1], lineNumber, "the last picture is not square");

    std::vector<uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // type: icon
    Put16(out, static_cast<uint32_t>(pictures.size()));
    std::vector<std::vector<uint8_t>> images;
    for (const auto& rows : pictures)
        images.push_back(Image(rows));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const auto size = static_cast<uint8_t>(pictures[i].size());
        out.push_back(size);
        out.push_back(size);
        out.push_back(16);  // colours
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 4);  // bits per pixel
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images)
        out.insert(out.end(), image.begin(), image.end());

    std::ofstream file(argv[2], std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::cerr << "icotool: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
