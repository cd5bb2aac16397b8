// Binary files of the skin file reader behind small RAII classes over std::FILE, with paths as
// 8-bit strings as the system gives them. Platform-neutral; every failure is an exception.
#pragma once

#include "skin/themes/KEL2SkinReader_Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kel {

namespace detail {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
} // namespace detail

// A file opened for reading (other readers and writers may share it). Tracks its own position.
class TReadFile {
public:
    // Raises EFOpenError when the file cannot be opened.
    explicit TReadFile(const std::string& path);

    uint64_t Position() const { return position_; }
    // Raises EStreamError when the position cannot be reached.
    void Seek(uint64_t position);
    // Positions `distance` bytes before the end; raises EStreamError when the file is shorter.
    void SeekFromEnd(uint64_t distance);
    uint64_t Size();

    // Reads up to `count` bytes; fewer only at the end of the file. Raises EStreamError on a
    // device error.
    size_t ReadSome(uint8_t* buffer, size_t count);
    // Reads exactly `count` bytes or raises EStreamError.
    void ReadExact(uint8_t* buffer, size_t count);

private:
    detail::FilePtr file_;
    uint64_t position_ = 0;
};

// A file created (or truncated) for writing.
class TWriteFile {
public:
    // Raises EFOpenError when the file cannot be created.
    explicit TWriteFile(const std::string& path);

    // Writes all bytes or raises EStreamError.
    void Write(const uint8_t* data, size_t count);
    // Flushes and closes; raises EStreamError when the data could not be stored. Closing twice,
    // or not at all (the destructor closes), is allowed.
    void Close();

private:
    detail::FilePtr file_;
};

// A temporary file written and then read back, created new at a path and removed by the system
// when it is closed or the process ends in any way (skinplatform::CreateSelfDeletingFile).
class TTemporaryFile : public TOutputStream {
public:
    // Raises EFOpenError when the file cannot be created.
    explicit TTemporaryFile(const std::string& path);

    // Writes all bytes or raises EStreamError.
    void Write(const uint8_t* data, size_t count) override;
    // Everything written, read back from the start; EStreamError when it is larger than `maxSize`
    // or cannot be read.
    std::vector<uint8_t> ReadAll(uint64_t maxSize);

private:
    detail::FilePtr file_;
    uint64_t size_ = 0;
};

// The whole content of a file, refused with EStreamError when it is larger than `maxSize`.
std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize);

// Writes `data` as the whole content of a new or truncated file.
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& data);

} // namespace kel
