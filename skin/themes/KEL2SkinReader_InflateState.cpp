// The bit reader's slow paths, stored blocks and the output window of the DEFLATE decoder.
#include "skin/themes/KEL2SkinReader_InflateState.h"

#include <algorithm>
#include <cstring>

namespace kel::inflate_detail {

// The buffers are left uninitialised: no byte of either is read before it has been written.
TInflateState::TInflateState(TInputStream& in, TOutputStream& out)
    : inputBuffer_(new uint8_t[kInputBufferSize + kInputPadding]),
      windowBuffer_(new uint8_t[kWindowBufferSize]), input(inputBuffer_.get()),
      window(windowBuffer_.get()), in_(in), out_(out) {}

bool TInflateState::ReadInput() {
    if (inputEnded_) return false;
    std::memmove(input, input + inPos, inEnd - inPos);
    inEnd -= inPos;
    inPos = 0;
    const size_t wanted = headerReadNext_ ? kHeaderRead : kInputBufferSize - inEnd;
    headerReadNext_ = false;
    const size_t got = in_.Read(input + inEnd, wanted);
    if (got > 0) {
        inEnd += std::min(got, wanted);
        return true;
    }
    inputEnded_ = true;
    paddingStart_ = inEnd;
    std::memset(input + inEnd, 0, kInputPadding);
    inEnd += kInputPadding;
    return false;
}

void TInflateState::FillBitsSlowly() {
    while (inEnd - inPos < 8 && ReadInput()) {
    }
    if (inEnd - inPos >= 8) {
        FillBits();
        return;
    }
    // Only the tail of the padding is left: take it byte by byte.
    while (count < kFilledBits && inPos < inEnd) {
        bits |= uint64_t{input[inPos++]} << count;
        count += 8;
    }
    // Running out of padding means bits past the input's end were consumed long ago.
    if (count < kFilledBits) throw TRefused{};
}

size_t TInflateState::RealBytesBuffered() const {
    if (!inputEnded_) return inEnd - inPos;
    return inPos < paddingStart_ ? paddingStart_ - inPos : 0;
}

bool TInflateState::ConsumedPastInput() const {
    if (!inputEnded_ || inPos <= paddingStart_) return false;
    return (inPos - paddingStart_) * 8 > count;
}

void TInflateState::CopyStoredBlock() {
    Consume(count & 7);
    size_t left = Get(16);
    // NLEN must be the complement of LEN, as zlib demands. This also ends a stream of zero bytes
    // at its first block instead of reading it as endless empty stored blocks.
    if (Get(16) != (~left & 0xFFFF)) throw TRefused{};

    // Whole bytes still in the bit buffer come first.
    while (left > 0 && count >= 8) {
        window[outPos++] = static_cast<uint8_t>(bits);
        Consume(8);
        --left;
        if (outPos >= Limit()) Flush();
    }
    if (ConsumedPastInput()) throw TRefused{};
    if (left == 0) return;
    // The bit buffer is empty now and the input position moves on directly: forget its cached bits.
    bits = 0;
    while (left > 0) {
        const size_t room = std::min(left, Limit() - outPos);
        size_t piece = std::min(room, RealBytesBuffered());
        if (piece > 0) {
            std::memcpy(window + outPos, input + inPos, piece);
            inPos += piece;
        } else if (inputEnded_) {
            throw TRefused{};
        } else {
            // The input buffer is drained: read straight into the window.
            piece = std::min(in_.Read(window + outPos, room), room);
            if (piece == 0) throw TRefused{}; // the input ends inside the block
        }
        outPos += piece;
        left -= piece;
        if (outPos >= Limit()) Flush();
    }
    headerReadNext_ = RealBytesBuffered() == 0;
}

void TInflateState::Flush() {
    // Output decoded from padding bits must never reach the stream.
    if (ConsumedPastInput()) throw TRefused{};
    out_.Write(window + unwritten_, kWindowHistory);
    unwritten_ += kWindowHistory;
    // Make room for the output up to the next flush, a match past it and the copy slack. What
    // stays unwritten (at least 32 KB) is also the history.
    if (Limit() + kMaxMatch + kCopySlack > kWindowBufferSize) {
        std::memmove(window, window + unwritten_, outPos - unwritten_);
        outPos -= unwritten_;
        unwritten_ = 0;
    }
}

void TInflateState::FinishOutput() {
    if (ConsumedPastInput()) throw TRefused{};
    if (outPos > unwritten_) out_.Write(window + unwritten_, outPos - unwritten_);
    unwritten_ = outPos;
}

} // namespace kel::inflate_detail
