// The byte streams the skin file reader and the DEFLATE decoder work over. Platform-neutral.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kel {

class TInputStream {
public:
    virtual ~TInputStream() = default;
    // Reads up to `count` bytes into `buffer`; returns how many were read, 0 at the end.
    // Raises EStreamError when the underlying source fails.
    virtual size_t Read(uint8_t* buffer, size_t count) = 0;
};

class TOutputStream {
public:
    virtual ~TOutputStream() = default;
    // Writes all `count` bytes or raises EStreamError (a sink may also raise when a size limit
    // it enforces is passed).
    virtual void Write(const uint8_t* data, size_t count) = 0;
};

} // namespace kel
