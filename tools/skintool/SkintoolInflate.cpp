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
    if (args.size() > 1) return UsageError("inflate");
    const std::string name = !args.empty() && args[0] != "-" ? args[0] : "(standard input)";
    std::unique_ptr<std::FILE, TFileCloser> opened;
    std::FILE* input = stdin;
    if (!args.empty() && args[0] != "-") {
        opened.reset(std::fopen(args[0].c_str(), "rb"));
        if (!opened) {
            PrintFailure("inflate", name, "cannot open the file", std::strerror(errno));
            return kExitError;
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
            std::fflush(stdout);
            PrintFailure("inflate", name, "invalid or truncated DEFLATE stream");
            return kExitError;
        }
        if (std::fflush(stdout) != 0) throw EStreamError("Stream write error");
    } catch (const std::exception& error) {
        PrintFailure("inflate", name, error.what());
        return kExitError;
    }
    return kExitOk;
}

const SkintoolCommand
    registration("inflate",
                 "inflate [FILE]  decode raw DEFLATE (a file, or standard input for - or\n"
                 "nothing) to standard output",
                 &RunInflate);

} // namespace
} // namespace kel::skintool
