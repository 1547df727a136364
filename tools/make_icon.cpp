// Writes the game's window icon, a Windows .ico with 16, 32 and 48 pixel entries: the player's
// round orange-red body with its two eyes and a highlight at the top left, on a transparent
// ground.
//
// Usage: make_icon [output path]   (default "assets/Vorl1.ico", run from the repository root)
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct Colour {
    std::uint8_t r, g, b, a;
};

Colour Pixel(int x, int y, int size) {
    const double centre = size / 2.0;
    const double dx = x + 0.5 - centre;
    const double dy = y + 0.5 - centre;
    const double radius = size * 0.44;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance > radius) {
        return {0, 0, 0, 0};
    }
    if (distance > radius - std::max(1.0, size / 16.0)) {
        return {32, 16, 48, 255};  // outline
    }
    // Two eyes: white with a dark pupil low in each.
    for (const double side : {-1.0, 1.0}) {
        const double ex = dx - side * size * 0.15;
        const double ey = dy + size * 0.08;
        if (std::abs(ex) < size * 0.08 && std::abs(ey) < size * 0.12) {
            const bool pupil = std::abs(ex) < size * 0.05 && ey > 0 && ey < size * 0.09;
            return pupil ? Colour{32, 16, 48, 255} : Colour{255, 255, 255, 255};
        }
    }
    const double shine =
        std::sqrt((dx + size * 0.2) * (dx + size * 0.2) + (dy + size * 0.2) * (dy + size * 0.2));
    if (shine < size * 0.07) {
        return {255, 170, 140, 255};
    }
    return {232, 85, 58, 255};
}

// A 32-bit bitmap entry: header, colour rows bottom to top (BGRA), then the 1-bit mask rows.
Bytes BitmapEntry(int size) {
    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i) {
        Put32(out, 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const Colour c = Pixel(x, y, size);
            out.insert(out.end(), {c.b, c.g, c.r, c.a});
        }
    }
    const int maskRow = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskRow), 0);
        for (int x = 0; x < size; ++x) {
            if (Pixel(x, y, size).a == 0) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "assets/Vorl1.ico";
    const int sizes[] = {16, 32, 48};
    std::vector<Bytes> entries;
    for (int size : sizes) {
        entries.push_back(BitmapEntry(size));
    }
    Bytes file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, static_cast<std::uint32_t>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        file.push_back(static_cast<std::uint8_t>(sizes[i]));
        file.push_back(static_cast<std::uint8_t>(sizes[i]));
        file.push_back(0);  // no palette
        file.push_back(0);
        Put16(file, 1);
        Put16(file, 32);
        Put32(file, static_cast<std::uint32_t>(entries[i].size()));
        Put32(file, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const Bytes& entry : entries) {
        file.insert(file.end(), entry.begin(), entry.end());
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::cerr << path << ": cannot write the icon\n";
        return 1;
    }
    std::cout << "Wrote " << path << " (" << file.size() << " bytes)\n";
    return 0;
}
