// The working state of one Inflate call: the bit reader over a 16 KB input buffer and the output
// window flushed 32 KB at a time. Internal to the DEFLATE decoder.
#pragma once

#include "skin/themes/KEL2SkinReader_Inflate.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kel::inflate_detail {

// Thrown inside the decoder when the stream is refused; Inflate turns it into `false`.
struct TRefused {};

constexpr size_t kInputBufferSize = 16384;
// Zero bytes appended once the input has ended, so that the last codes can be peeked with their
// longest possible extra bits. A valid stream never consumes them; more than this is never needed.
constexpr size_t kInputPadding = 16;
// Enough for a stored block's header and the fast bit reader's 8-byte loads.
constexpr size_t kHeaderRead = 16;

constexpr size_t kWindowHistory = 32768; // the largest DEFLATE distance; also the output piece
constexpr size_t kWindowLimit = 2 * kWindowHistory; // unwritten bytes that trigger a flush
constexpr size_t kMaxMatch = 258;
// Matches are copied in words, at least five of them, and may write this far past their end.
constexpr size_t kCopySlack = 48;
// The window buffer holds several flushes' worth of output, so that the unwritten bytes and the
// history only have to be moved down every few flushes instead of at each one.
constexpr size_t kWindowBufferSize = 8 * kWindowHistory + kMaxMatch + kCopySlack;

// The bit buffer holds at least this many bits after FillBits: enough for a length code with its
// extra bits followed by a distance code with its extra bits (15 + 5 + 15 + 13).
constexpr unsigned kFilledBits = 56;

inline uint64_t LoadLittleEndian64(const uint8_t* p) {
    return uint64_t{p[0]} | uint64_t{p[1]} << 8 | uint64_t{p[2]} << 16 | uint64_t{p[3]} << 24 |
           uint64_t{p[4]} << 32 | uint64_t{p[5]} << 40 | uint64_t{p[6]} << 48 |
           uint64_t{p[7]} << 56;
}

class TInflateState {
    // Declared first: the raw pointers below are taken from them.
    std::unique_ptr<uint8_t[]> inputBuffer_;
    std::unique_ptr<uint8_t[]> windowBuffer_;

public:
    TInflateState(TInputStream& in, TOutputStream& out);

    // --- Bit reader. Bits are taken least significant first. `bits` holds `count` valid bits;
    // any bits above them are copies of the input bytes at `inPos` and may be ORed over again.
    uint8_t* const input;
    size_t inPos = 0;
    size_t inEnd = 0;
    uint64_t bits = 0;
    unsigned count = 0;

    // Tops the bit buffer up to at least kFilledBits bits; refuses input that ends too early.
    void FillBits() {
        if (inEnd - inPos >= 8) {
            bits |= LoadLittleEndian64(input + inPos) << count;
            inPos += (63 - count) >> 3;
            count |= kFilledBits;
        } else {
            FillBitsSlowly();
        }
    }
    uint32_t Peek(unsigned n) const {
        return static_cast<uint32_t>(bits & ((uint64_t{1} << n) - 1));
    }
    void Consume(unsigned n) {
        bits >>= n;
        count -= n;
    }
    uint32_t Get(unsigned n) {
        if (count < n) FillBits();
        const uint32_t value = Peek(n);
        Consume(n);
        return value;
    }

    // Decodes a stored block after its 3 header bits.
    void CopyStoredBlock();

    // --- Output window: `window[0 .. outPos)` is decoded output; from Limit() - 64 KB on it has
    // not been written yet. As soon as 64 KB are unwritten, Flush writes the oldest 32 KB, so the
    // output arrives in 32 KB pieces and at least 32 KB of history stay in the window.
    uint8_t* const window;
    size_t outPos = 0;

    size_t Limit() const { return unwritten_ + kWindowLimit; }
    void Flush();
    // After the final block: writes what is left in the window.
    void FinishOutput();

private:
    void FillBitsSlowly();
    // Reads more input behind the unread bytes; false when the input has ended.
    bool ReadInput();
    size_t RealBytesBuffered() const;
    // True when decoding has used padding bits, that is, the stream is truncated.
    bool ConsumedPastInput() const;

    TInputStream& in_;
    TOutputStream& out_;
    bool inputEnded_ = false;
    // After a stored block has drained the input buffer, the next read fetches only the next
    // block's header, so that the data of a following stored block can be read straight into
    // the window instead of passing through the input buffer.
    bool headerReadNext_ = false;
    size_t paddingStart_ = 0;
    size_t unwritten_ = 0;
};

// Decodes the symbols of one Huffman-coded block up to its end-of-block code.
void InflateBlock(TInflateState& state, const THuffmanTree& literals,
                  const THuffmanTree& distances);

// InflateBlock runs the fastest copy of its loop that the processor supports; with `portable`
// it runs the one for every x86-64 processor instead, so that tests check that copy on any
// machine.
void UsePortableBlockLoop(bool portable);

} // namespace kel::inflate_detail
