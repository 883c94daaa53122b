// icongen: draws the Pelmora icon and writes it out as
//   pelmora.ico                 48, 32 and 16 px at 4, 8 and 32 bits per pixel
//   pelmora-<N>.png             N = 16, 32, 48, 64, 128, 256 (RGBA)
// The icon is drawn in code so the repository carries no binary image files.
//
// Usage: icongen OUTDIR

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

// Same colours as the bit cells in the window (colours::Red and colours::LightBlue).
constexpr Rgb kOneBit{0xFF, 0x00, 0x00};
constexpr Rgb kZeroBit{0xC0, 0xC0, 0xFF};
// Dark slate plate: both cell colours stand out against it, on light or dark desktops.
constexpr Rgb kPlate{0x2B, 0x30, 0x3B};

// A 3x3 grid is the densest one that keeps whole-pixel cells and gaps at 16 px.
constexpr int kGrid = 3;
constexpr std::array<bool, kGrid * kGrid> kBits{
    true,  false, true,  //
    false, true,  true,  //
    true,  false, false, //
};

class Image {
  public:
    explicit Image(int size)
        : size_(size), pixels_(static_cast<std::size_t>(size) * static_cast<std::size_t>(size)) {}
    int size() const { return size_; }
    Rgba& at(int x, int y) { return pixels_[index(x, y)]; }
    const Rgba& at(int x, int y) const { return pixels_[index(x, y)]; }

  private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * size_ + x); }
    int size_;
    std::vector<Rgba> pixels_;
};

// The palette depths and the mask treat a pixel as solid from half coverage up.
bool isOpaque(const Rgba& p) {
    return p.a >= 128;
}

struct RoundRect {
    double x0, y0, x1, y1, radius;

    bool contains(double x, double y) const {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        const double dx = x - std::clamp(x, x0 + radius, x1 - radius);
        const double dy = y - std::clamp(y, y0 + radius, y1 - radius);
        return dx * dx + dy * dy <= radius * radius;
    }
};

// ---------------------------------------------------------------------------------------------
// Drawing

// Laid out on 16 units: 1 unit margin, 4 unit cells, 1 unit gaps (1+4+1+4+1+4+1), so every
// edge falls on a whole pixel at 16, 32, 48, ... px and only rounded corners need smoothing.
Image drawIcon(int size) {
    const double unit = size / 16.0;
    const RoundRect plate{0, 0, double(size), double(size), 2.5 * unit};
    // Rounding a 4 px cell only blurs it, so small sizes keep square cells.
    const double cellRadius = size >= 32 ? 0.75 * unit : 0.0;

    struct Cell {
        RoundRect shape;
        Rgb colour;
    };
    std::vector<Cell> cells;
    for (int row = 0; row < kGrid; ++row) {
        for (int col = 0; col < kGrid; ++col) {
            const double x0 = (1 + 5 * col) * unit, y0 = (1 + 5 * row) * unit;
            cells.push_back(
                {{x0, y0, x0 + 4 * unit, y0 + 4 * unit, cellRadius},
                 kBits[static_cast<std::size_t>(row * kGrid + col)] ? kOneBit : kZeroBit});
        }
    }

    // Supersample each pixel and average premultiplied colour, which gives clean
    // edges both against transparency and between cell and plate.
    constexpr int kSamples = 8;
    Image image(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int covered = 0;
            int sumR = 0, sumG = 0, sumB = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples;
                    const double py = y + (sy + 0.5) / kSamples;
                    if (!plate.contains(px, py)) continue;
                    Rgb colour = kPlate;
                    for (const Cell& cell : cells) {
                        if (cell.shape.contains(px, py)) {
                            colour = cell.colour;
                            break;
                        }
                    }
                    ++covered;
                    sumR += colour.r;
                    sumG += colour.g;
                    sumB += colour.b;
                }
            }
            if (covered == 0) continue; // stays fully transparent black
            constexpr int kTotal = kSamples * kSamples;
            auto average = [covered](int sum) {
                return static_cast<std::uint8_t>((sum + covered / 2) / covered);
            };
            image.at(x, y) = {average(sumR), average(sumG), average(sumB),
                              static_cast<std::uint8_t>((covered * 255 + kTotal / 2) / kTotal)};
        }
    }
    return image;
}

// ---------------------------------------------------------------------------------------------
// Palette reduction for the 16 and 256 colour images

int distance(Rgb a, Rgb b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

std::size_t nearest(const std::vector<Rgb>& palette, Rgb colour) {
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int d = distance(palette[i], colour);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

// Greedy: keep adding the colour whose pixels are worst served by the palette so far.
// The plate and both cell colours come out exactly; the rest goes to edge blends.
// Entry 0 is black because masked pixels must carry a black XOR colour.
std::vector<Rgb> buildPalette(const Image& image, std::size_t maxColours) {
    std::map<std::uint32_t, long long> histogram;
    for (int y = 0; y < image.size(); ++y) {
        for (int x = 0; x < image.size(); ++x) {
            const Rgba& p = image.at(x, y);
            if (isOpaque(p)) ++histogram[std::uint32_t(p.r) << 16 | std::uint32_t(p.g) << 8 | p.b];
        }
    }
    std::vector<Rgb> palette{Rgb{}};
    while (palette.size() < maxColours) {
        Rgb best;
        long long bestScore = 0;
        for (const auto& [packed, count] : histogram) {
            const Rgb colour{std::uint8_t(packed >> 16), std::uint8_t(packed >> 8),
                             std::uint8_t(packed)};
            const long long score = count * distance(colour, palette[nearest(palette, colour)]);
            if (score > bestScore) {
                best = colour;
                bestScore = score;
            }
        }
        if (bestScore == 0) break; // every colour is already exact
        palette.push_back(best);
    }
    return palette;
}

// ---------------------------------------------------------------------------------------------
// Byte helpers

void putLe(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

void putBe(Bytes& out, std::uint32_t value) {
    for (int i = 3; i >= 0; --i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

// ---------------------------------------------------------------------------------------------
// ICO

struct IconImage {
    int size;
    int bitCount;
    Bytes dib; // BITMAPINFOHEADER, palette, XOR bitmap, AND mask
};

// The classic DIB form (not PNG-in-ICO) so every depth loads on old Windows and in icoutils.
IconImage makeIconImage(const Image& image, int bitCount) {
    const int n = image.size();
    const int xorStride = (n * bitCount + 31) / 32 * 4;
    const int andStride = (n + 31) / 32 * 4;

    Bytes dib;
    auto u32 = [](int v) { return static_cast<std::uint32_t>(v); };
    putLe(dib, 40, 4);                               // biSize
    putLe(dib, u32(n), 4);                           // biWidth
    putLe(dib, u32(2 * n), 4);                       // biHeight covers XOR bitmap plus AND mask
    putLe(dib, 1, 2);                                // biPlanes
    putLe(dib, u32(bitCount), 2);                    // biBitCount
    putLe(dib, 0, 4);                                // biCompression = BI_RGB
    putLe(dib, u32((xorStride + andStride) * n), 4); // biSizeImage
    putLe(dib, 0, 4);                                // biXPelsPerMeter
    putLe(dib, 0, 4);                                // biYPelsPerMeter
    putLe(dib, 0, 4);                                // biClrUsed: 0 = full 2^bitCount table
    putLe(dib, 0, 4);                                // biClrImportant

    std::vector<Rgb> palette;
    if (bitCount <= 8) {
        const std::size_t entries = std::size_t{1} << bitCount;
        palette = buildPalette(image, entries);
        for (std::size_t i = 0; i < entries; ++i) {
            const Rgb c = i < palette.size() ? palette[i] : Rgb{};
            dib.insert(dib.end(), {c.b, c.g, c.r, 0});
        }
    }

    // Both bitmaps are stored bottom-up.
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(xorStride), 0);
        for (int x = 0; x < n; ++x) {
            const Rgba& p = image.at(x, y);
            if (bitCount == 32) {
                const auto at = static_cast<std::size_t>(4 * x);
                row[at] = p.b;
                row[at + 1] = p.g;
                row[at + 2] = p.r;
                row[at + 3] = p.a;
                continue;
            }
            const auto index = isOpaque(p) ? nearest(palette, {p.r, p.g, p.b}) : 0;
            if (bitCount == 8) {
                row[static_cast<std::size_t>(x)] = std::uint8_t(index);
            } else { // 4 bpp, leftmost pixel in the high nibble
                row[static_cast<std::size_t>(x / 2)] |= std::uint8_t(index << (x % 2 ? 0 : 4));
            }
        }
        dib.insert(dib.end(), row.begin(), row.end());
    }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(andStride), 0);
        for (int x = 0; x < n; ++x) {
            if (!isOpaque(image.at(x, y)))
                row[static_cast<std::size_t>(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        }
        dib.insert(dib.end(), row.begin(), row.end());
    }
    return {n, bitCount, std::move(dib)};
}

Bytes makeIco(const std::vector<IconImage>& images) {
    Bytes out;
    putLe(out, 0, 2); // reserved
    putLe(out, 1, 2); // type: icon
    putLe(out, static_cast<std::uint32_t>(images.size()), 2);
    std::size_t offset = 6 + 16 * images.size();
    for (const IconImage& image : images) {
        out.push_back(std::uint8_t(image.size)); // 256 would be written as 0
        out.push_back(std::uint8_t(image.size));
        out.push_back(image.bitCount == 4 ? 16 : 0); // colour count, 0 from 256 up
        out.push_back(0);                            // reserved
        putLe(out, 1, 2);                            // planes
        putLe(out, static_cast<std::uint32_t>(image.bitCount), 2);
        putLe(out, static_cast<std::uint32_t>(image.dib.size()), 4);
        putLe(out, static_cast<std::uint32_t>(offset), 4);
        offset += image.dib.size();
    }
    for (const IconImage& image : images)
        out.insert(out.end(), image.dib.begin(), image.dib.end());
    return out;
}

// ---------------------------------------------------------------------------------------------
// PNG: zlib stream with one fixed-Huffman deflate block

class BitWriter {
  public:
    // Plain values go least significant bit first.
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bit((value >> i) & 1u);
    }
    // Huffman codes go most significant bit first.
    void code(std::uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i)
            bit((value >> i) & 1u);
    }
    Bytes finish() {
        if (used_ > 0) out_.push_back(current_);
        current_ = 0;
        used_ = 0;
        return std::move(out_);
    }

  private:
    void bit(std::uint32_t b) {
        current_ = std::uint8_t(current_ | b << used_);
        if (++used_ == 8) {
            out_.push_back(current_);
            current_ = 0;
            used_ = 0;
        }
    }
    Bytes out_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

void putLiteralOrLength(BitWriter& out, int symbol) {
    const auto s = static_cast<std::uint32_t>(symbol);
    if (symbol <= 143)
        out.code(0x30 + s, 8);
    else if (symbol <= 255)
        out.code(0x190 + s - 144, 9);
    else if (symbol <= 279)
        out.code(s - 256, 7);
    else
        out.code(0xC0 + s - 280, 8);
}

void putMatch(BitWriter& out, int length, int distance) {
    static constexpr std::array<int, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                     15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                     67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr std::array<int, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr std::array<int, 30> kDistBase{
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static constexpr std::array<int, 30> kDistExtra{0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    // Search from the top so 258 gets its own code rather than 227 + 31.
    std::size_t l = kLengthBase.size() - 1;
    while (kLengthBase[l] > length)
        --l;
    putLiteralOrLength(out, 257 + static_cast<int>(l));
    out.bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);

    std::size_t d = kDistBase.size() - 1;
    while (kDistBase[d] > distance)
        --d;
    out.code(static_cast<std::uint32_t>(d), 5);
    out.bits(static_cast<std::uint32_t>(distance - kDistBase[d]), kDistExtra[d]);
}

// LZ77 with hash chains; the icons are mostly flat colour, so this gets them small enough.
Bytes deflate(const Bytes& data) {
    constexpr int kMinMatch = 3, kMaxMatch = 258, kWindow = 32768, kMaxChain = 64;
    constexpr std::uint32_t kHashSize = 1u << 15;
    const auto n = static_cast<int>(data.size());
    std::vector<int> head(kHashSize, -1), previous(data.size(), -1);
    auto hash = [&data](int i) {
        const auto at = static_cast<std::size_t>(i);
        return (std::uint32_t(data[at]) << 10 ^ std::uint32_t(data[at + 1]) << 5 ^ data[at + 2]) &
               (kHashSize - 1);
    };
    auto insert = [&](int i) {
        if (i + kMinMatch > n) return;
        const std::uint32_t h = hash(i);
        previous[static_cast<std::size_t>(i)] = head[h];
        head[h] = i;
    };

    BitWriter out;
    out.bits(1, 1); // final block
    out.bits(1, 2); // fixed Huffman codes
    int i = 0;
    while (i < n) {
        int bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= n) {
            const int limit = std::min(kMaxMatch, n - i);
            int candidate = head[hash(i)];
            for (int chain = 0; candidate >= 0 && i - candidate <= kWindow && chain < kMaxChain;
                 ++chain, candidate = previous[static_cast<std::size_t>(candidate)]) {
                int length = 0;
                while (length < limit && data[static_cast<std::size_t>(candidate + length)] ==
                                             data[static_cast<std::size_t>(i + length)])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = i - candidate;
                    if (length == limit) break;
                }
            }
        }
        if (bestLength >= kMinMatch) {
            putMatch(out, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k)
                insert(i + k);
            i += bestLength;
        } else {
            putLiteralOrLength(out, data[static_cast<std::size_t>(i)]);
            insert(i);
            ++i;
        }
    }
    putLiteralOrLength(out, 256); // end of block
    return out.finish();
}

std::uint32_t adler32(const Bytes& data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
    putBe(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBe(out, crc32(out.data() + start, out.size() - start));
}

Bytes makePng(const Image& image) {
    const auto n = static_cast<std::uint32_t>(image.size());
    Bytes header;
    putBe(header, n);
    putBe(header, n);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, deflate, no filter, no interlace

    Bytes raw;
    for (int y = 0; y < image.size(); ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < image.size(); ++x) {
            const Rgba& p = image.at(x, y);
            raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
        }
    }
    Bytes zlib{0x78, 0x9C};
    const Bytes compressed = deflate(raw);
    zlib.insert(zlib.end(), compressed.begin(), compressed.end());
    putBe(zlib, adler32(raw));

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlib);
    putChunk(out, "IEND", {});
    return out;
}

// ---------------------------------------------------------------------------------------------

void writeFile(const std::filesystem::path& path, const Bytes& data) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: icongen OUTDIR\n";
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);

        // Best depth first, so tools that just take the first entry get the full-colour one.
        std::vector<IconImage> entries;
        for (int bitCount : {32, 8, 4}) {
            for (int size : {48, 32, 16})
                entries.push_back(makeIconImage(drawIcon(size), bitCount));
        }
        writeFile(dir / "pelmora.ico", makeIco(entries));

        for (int size : {16, 32, 48, 64, 128, 256})
            writeFile(dir / ("pelmora-" + std::to_string(size) + ".png"), makePng(drawIcon(size)));
    } catch (const std::exception& e) {
        std::cerr << "icongen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
