#include "skin/themes/KEL2SkinReader_File.h"

#include "framework/SysUtils.h"
#include "skin/themes/KEL2SkinReader_Platform.h"

#include <cerrno>
#include <climits>
#include <cstring>

namespace kel {
namespace {

detail::FilePtr OpenFile(const std::string& path, const char* mode, const char* verb) {
    errno = 0;
    detail::FilePtr file(std::fopen(path.c_str(), mode));
    if (!file) {
        const char* reason = errno != 0 ? std::strerror(errno) : "Unknown error";
        throw EFOpenError(std::string("Cannot ") + verb + " file \"" + path + "\". " + reason);
    }
    return file;
}

// std::fseek takes a long: positions beyond its range cannot be reached portably.
long SeekOffset(uint64_t offset) {
    if (offset > static_cast<uint64_t>(LONG_MAX)) throw EStreamError("Stream seek error");
    return static_cast<long>(offset);
}

} // namespace

TReadFile::TReadFile(const std::string& path) : file_(OpenFile(path, "rb", "open")) {}

void TReadFile::Seek(uint64_t position) {
    if (std::fseek(file_.get(), SeekOffset(position), SEEK_SET) != 0)
        throw EStreamError("Stream seek error");
    position_ = position;
}

uint64_t TReadFile::Size() {
    if (std::fseek(file_.get(), 0, SEEK_END) != 0) throw EStreamError("Stream seek error");
    const long end = std::ftell(file_.get());
    if (end < 0) throw EStreamError("Stream seek error");
    Seek(position_);
    return static_cast<uint64_t>(end);
}

void TReadFile::SeekFromEnd(uint64_t distance) {
    const uint64_t size = Size();
    if (size < distance) throw EStreamError("Stream seek error");
    Seek(size - distance);
}

size_t TReadFile::ReadSome(uint8_t* buffer, size_t count) {
    if (count == 0) return 0;
    const size_t got = std::fread(buffer, 1, count, file_.get());
    if (got < count && std::ferror(file_.get())) throw EStreamError("Stream read error");
    position_ += got;
    return got;
}

void TReadFile::ReadExact(uint8_t* buffer, size_t count) {
    if (ReadSome(buffer, count) != count) throw EStreamError("Stream read error");
}

TWriteFile::TWriteFile(const std::string& path) : file_(OpenFile(path, "wb", "create")) {}

void TWriteFile::Write(const uint8_t* data, size_t count) {
    if (!file_) throw EStreamError("Stream write error");
    if (count > 0 && std::fwrite(data, 1, count, file_.get()) != count)
        throw EStreamError("Stream write error");
}

void TWriteFile::Close() {
    if (!file_) return;
    const bool flushed = std::fflush(file_.get()) == 0;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!flushed || !closed) throw EStreamError("Stream write error");
}

TTemporaryFile::TTemporaryFile(const std::string& path) {
    errno = 0;
    file_.reset(skinplatform::CreateSelfDeletingFile(path));
    if (!file_) {
        const char* reason = errno != 0 ? std::strerror(errno) : "Unknown error";
        throw EFOpenError("Cannot create file \"" + path + "\". " + reason);
    }
}

void TTemporaryFile::Write(const uint8_t* data, size_t count) {
    if (count > 0 && std::fwrite(data, 1, count, file_.get()) != count)
        throw EStreamError("Stream write error");
    size_ += count;
}

std::vector<uint8_t> TTemporaryFile::ReadAll(uint64_t maxSize) {
    if (size_ > maxSize) throw EStreamError("Stream read error");
    if (std::fflush(file_.get()) != 0 || std::fseek(file_.get(), 0, SEEK_SET) != 0)
        throw EStreamError("Stream read error");
    std::vector<uint8_t> data(static_cast<size_t>(size_));
    if (!data.empty() && std::fread(data.data(), 1, data.size(), file_.get()) != data.size())
        throw EStreamError("Stream read error");
    return data;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize) {
    TReadFile file(path);
    const uint64_t size = file.Size();
    if (size > maxSize) throw EStreamError("Stream read error");
    std::vector<uint8_t> data(static_cast<size_t>(size));
    file.ReadExact(data.data(), data.size());
    return data;
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& data) {
    TWriteFile file(path);
    file.Write(data.data(), data.size());
    file.Close();
}

} // namespace kel
