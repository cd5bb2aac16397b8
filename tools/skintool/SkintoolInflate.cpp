// skintool inflate: decodes a raw DEFLATE stream, as a skin file's data entry holds it, from a file
// or standard input to standard output.
#include "tools/skintool/SkintoolCommands.h"

#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_Inflate.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace kel::skintool {
namespace {

class TFileInput : public TInputStream {
public:
    explicit TFileInput(std::FILE* file) : file_(file) {}
    size_t Read(uint8_t* buffer, size_t count) override {
        const size_t read = std::fread(buffer, 1, count, file_);
        if (read == 0 && std::ferror(file_)) throw EStreamError("Stream read error");
        return read;
    }

private:
    std::FILE* file_;
};

class TFileOutput : public TOutputStream {
public:
    explicit TFileOutput(std::FILE* file) : file_(file) {}
    void Write(const uint8_t* data, size_t count) override {
        if (std::fwrite(data, 1, count, file_) != count) throw EStreamError("Stream write error");
    }

private:
    std::FILE* file_;
};

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

int RunInflate(const std::vector<std::string>& args) {
    if (args.size() > 1) {
        std::fprintf(stderr, "usage: skintool inflate [FILE]\n");
        return 1;
    }
    std::unique_ptr<std::FILE, TFileCloser> opened;
    std::FILE* input = stdin;
    if (!args.empty() && args[0] != "-") {
        opened.reset(std::fopen(args[0].c_str(), "rb"));
        if (!opened) {
            std::fprintf(stderr, "skintool inflate: cannot open %s: %s\n", args[0].c_str(),
                         std::strerror(errno));
            return 1;
        }
        input = opened.get();
    }
#ifdef _WIN32
    // Decoded bytes must reach the output unchanged, without newline translation.
    _setmode(_fileno(stdout), _O_BINARY);
    if (input == stdin) _setmode(_fileno(stdin), _O_BINARY);
#endif
    try {
        TFileInput in(input);
        TFileOutput out(stdout);
        if (!Inflate(in, out)) {
            std::fprintf(stderr, "skintool inflate: not a valid DEFLATE stream\n");
            return 1;
        }
        if (std::fflush(stdout) != 0) throw EStreamError("Stream write error");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skintool inflate: %s\n", error.what());
        return 1;
    }
    return 0;
}

const SkintoolCommand registration("inflate", "inflate [FILE]    decode raw DEFLATE to stdout",
                                   &RunInflate);

} // namespace
} // namespace kel::skintool
