// Decoding throughput of our DEFLATE decoder against zlib and libdeflate on the same raw streams:
// text, machine code and pixel data at levels 1, 6 and 9, plus incompressible data. All three
// read and write in-memory streams; each figure is the median of several runs.
#include "bench/BenchSupport.h"
#include "skin/themes/KEL2SkinReader_Inflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr size_t kSampleSize = 3 << 20;
constexpr int kRuns = 7;
constexpr double kMinRunSeconds = 0.05;

// --- Data

void AppendFile(Bytes& data, const fs::path& path, size_t limit) {
    std::ifstream file(path, std::ios::binary);
    const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    data.insert(data.end(), bytes.begin(),
                bytes.begin() +
                    static_cast<std::ptrdiff_t>(std::min(bytes.size(), limit - data.size())));
}

// Licence texts and C/C++ headers: present wherever this bench can be built.
Bytes TextSample() {
    Bytes data;
    for (const char* root : {"/usr/share/common-licenses", "/usr/include"}) {
        std::error_code error;
        std::vector<fs::path> files;
        for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
             it.increment(error))
            if (it->is_regular_file(error)) files.push_back(it->path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            if (data.size() >= kSampleSize) break;
            AppendFile(data, file, kSampleSize);
        }
    }
    return data;
}

// This program and the shared libraries mapped into it.
Bytes CodeSample() {
    std::set<std::string> files = {"/proc/self/exe"};
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        const size_t slash = line.find('/');
        if (slash != std::string::npos && line.find(".so") != std::string::npos)
            files.insert(line.substr(slash));
    }
    Bytes data;
    for (const std::string& file : files)
        if (data.size() < kSampleSize) AppendFile(data, file, kSampleSize);
    return data;
}

uint32_t NextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// A 24-bit skin-like picture: gradient panels, bevelled buttons, caption text strokes, an icon
// strip with anti-aliased edges and a photo-like noisy area.
Bytes PixelSample() {
    const int width = 1024, height = 1024;
    Bytes data(static_cast<size_t>(width) * height * 3);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int r = 40 + y * 120 / height, g = 70 + y * 100 / height, b = 140 + x * 90 / width;
            const int cellX = x % 128, cellY = y % 48;
            if (y < 600 && cellX > 8 && cellX < 120 && cellY > 6 && cellY < 42) { // a button
                const bool edge = cellX == 9 || cellY == 7 || cellX == 119 || cellY == 41;
                const int shade = 200 - cellY * 2;
                r = g = b = edge ? (cellX == 9 || cellY == 7 ? 250 : 90) : shade;
                b += 20;
                if (cellY > 18 && cellY < 30 && cellX > 24 && cellX < 104 &&
                    ((cellX * 7 + cellY * 3 + x / 128) % 11 < 3)) // caption strokes
                    r = g = b = 20;
            } else if (y >= 600 && y < 700) { // icon strip
                const int dx = x % 32 - 16, dy = (y - 600) % 32 - 16;
                const int d2 = dx * dx + dy * dy;
                if (d2 < 150) {
                    r = 230 - d2;
                    g = 120 + (x / 32 % 5) * 25;
                    b = 40 + d2 / 2;
                }
            } else if (y >= 700) { // photo-like
                const double wave = std::sin(x * 0.02) * std::cos(y * 0.03);
                r = 120 + static_cast<int>(60 * wave) + static_cast<int>(NextRandom(seed) % 9);
                g = 110 + static_cast<int>(50 * wave) + static_cast<int>(NextRandom(seed) % 9);
                b = 90 + static_cast<int>(40 * wave) + static_cast<int>(NextRandom(seed) % 9);
            }
            uint8_t* pixel = &data[(static_cast<size_t>(y) * width + x) * 3];
            pixel[0] = static_cast<uint8_t>(std::clamp(b, 0, 255));
            pixel[1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
            pixel[2] = static_cast<uint8_t>(std::clamp(r, 0, 255));
        }
    }
    return data;
}

Bytes RandomSample() {
    Bytes data(2 << 20);
    uint32_t seed = 777;
    for (uint8_t& byte : data) byte = static_cast<uint8_t>(NextRandom(seed));
    return data;
}

Bytes Compress(const Bytes& data, int level) {
    return kel::bench::ZlibDeflateRaw(data.data(), data.size(), level, 8);
}

// --- The three decoders, each reading from an in-memory input stream and writing to an in-memory
// output stream as the skin reader does with files; each returns the decoded size (0 on failure).

class TMemoryInput : public kel::TInputStream {
public:
    explicit TMemoryInput(const Bytes& data) : data_(data) {}
    size_t Read(uint8_t* buffer, size_t count) override {
        const size_t n = std::min(count, data_.size() - pos_);
        std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return n;
    }

private:
    const Bytes& data_;
    size_t pos_ = 0;
};

class TMemoryOutput : public kel::TOutputStream {
public:
    explicit TMemoryOutput(Bytes& buffer) : buffer_(buffer) {}
    void Write(const uint8_t* data, size_t count) override {
        if (count > buffer_.size() - size) throw std::runtime_error("output larger than expected");
        std::memcpy(buffer_.data() + size, data, count);
        size += count;
    }
    size_t size = 0;

private:
    Bytes& buffer_;
};

size_t DecodeOurs(const Bytes& stream, Bytes& out) {
    TMemoryInput input(stream);
    TMemoryOutput output(out);
    return kel::Inflate(input, output) ? output.size : 0;
}

// zlib's streaming interface with the same buffer sizes as ours: 16 KB in, 32 KB out.
size_t DecodeZlib(const Bytes& stream, Bytes& out) {
    TMemoryInput input(stream);
    TMemoryOutput output(out);
    const bool ended = kel::bench::ZlibInflateRaw(
        [&](uint8_t* buffer, size_t size) { return input.Read(buffer, size); },
        [&](const uint8_t* data, size_t size) { output.Write(data, size); });
    return ended ? output.size : 0;
}

// libdeflate decodes whole buffers only: the input stream is read into memory first and the
// output written to the output stream at the end.
size_t DecodeLibdeflate(const Bytes& stream, Bytes& out) {
    TMemoryInput input(stream);
    TMemoryOutput output(out);
    std::vector<uint8_t> inBuffer(stream.size()), outBuffer(out.size());
    inBuffer.resize(input.Read(inBuffer.data(), inBuffer.size()));
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    size_t size = 0;
    const libdeflate_result rc = libdeflate_deflate_decompress(
        decompressor, inBuffer.data(), inBuffer.size(), outBuffer.data(), outBuffer.size(), &size);
    libdeflate_free_decompressor(decompressor);
    if (rc != LIBDEFLATE_SUCCESS) return 0;
    output.Write(outBuffer.data(), size);
    return output.size;
}

using Decoder = size_t (*)(const Bytes&, Bytes&);

// Times the decoders in turn, run after run, so that a change in the machine's load hits all of
// them alike. Returns the seconds per decode of every run, per decoder.
template <size_t N>
std::array<std::vector<double>, N> TimeInterleaved(const std::array<Decoder, N>& decoders,
                                                   const Bytes& stream, Bytes& out, int repeats) {
    std::array<std::vector<double>, N> seconds;
    for (int run = 0; run < kRuns; ++run) {
        for (size_t d = 0; d < N; ++d) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < repeats; ++i) decoders[d](stream, out);
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            seconds[d].push_back(elapsed.count() / repeats);
        }
    }
    return seconds;
}

using kel::bench::Median;

} // namespace

int main() {
    struct Sample {
        const char* name;
        Bytes data;
        std::vector<int> levels;
    };
    const std::vector<Sample> samples = {{"text", TextSample(), {1, 6, 9}},
                                         {"code", CodeSample(), {1, 6, 9}},
                                         {"pixels", PixelSample(), {1, 6, 9}},
                                         {"random", RandomSample(), {6}}};
    const std::array<Decoder, 3> decoders = {DecodeZlib, DecodeOurs, DecodeLibdeflate};

    std::printf("%-8s %5s %9s %9s %11s %11s %11s %9s %12s %12s\n", "data", "level", "size",
                "stream", "zlib MB/s", "ours MB/s", "libdefl MB/s", "ours/zlib", "libdefl/zlib",
                "ours/libdefl");
    std::vector<double> ratios, toLibdeflate;
    for (const Sample& sample : samples) {
        for (int level : sample.levels) {
            const Bytes stream = Compress(sample.data, level);
            Bytes out(sample.data.size());
            for (Decoder decode : decoders) {
                std::fill(out.begin(), out.end(), 0);
                if (decode(stream, out) != sample.data.size() || out != sample.data) {
                    std::fprintf(stderr, "bench_inflate: wrong output for %s level %d\n",
                                 sample.name, level);
                    return 1;
                }
            }
            // Calibrate on zlib, then time the three in turn with the same repeat count.
            const auto start = std::chrono::steady_clock::now();
            DecodeZlib(stream, out);
            const double once =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const int repeats =
                std::max(1, static_cast<int>(kMinRunSeconds / std::max(once, 1e-6)));
            const auto seconds = TimeInterleaved(decoders, stream, out, repeats);
            double mbPerSecond[3];
            for (size_t d = 0; d < 3; ++d)
                mbPerSecond[d] = sample.data.size() / 1e6 / Median(seconds[d]);
            // Ratios per run, then their median: robust against load that changes between runs.
            std::vector<double> oursRatios, libdeflateRatios, oursToLibdeflate;
            for (int run = 0; run < kRuns; ++run) {
                oursRatios.push_back(seconds[0][run] / seconds[1][run]);
                libdeflateRatios.push_back(seconds[0][run] / seconds[2][run]);
                oursToLibdeflate.push_back(seconds[2][run] / seconds[1][run]);
            }
            const double ours = Median(oursRatios);
            ratios.push_back(ours);
            toLibdeflate.push_back(Median(oursToLibdeflate));
            std::printf("%-8s %5d %9zu %9zu %11.1f %11.1f %11.1f %8.2fx %11.2fx %11.2fx\n",
                        sample.name, level, sample.data.size(), stream.size(), mbPerSecond[0],
                        mbPerSecond[1], mbPerSecond[2], ours, Median(libdeflateRatios),
                        toLibdeflate.back());
            std::fflush(stdout);
        }
    }
    std::printf("inflate ratio to zlib median %.2fx worst %.2fx; to libdeflate median %.2fx "
                "(our speed / their speed, higher is better)\n",
                Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                Median(toLibdeflate));
    return 0;
}
