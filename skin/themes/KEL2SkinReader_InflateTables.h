// The constant tables of the DEFLATE format (length and distance bases with their extra bits, the
// order in which a dynamic block header lists the code-length code) and the widths of the
// decoder's main decoding tables.
#pragma once

#include "skin/themes/KEL2SkinReader_Inflate.h"

#include <cstdint>

namespace kel::inflate_tables {

constexpr unsigned kEndOfBlock = 256;
constexpr unsigned kFirstLengthSymbol = 257;
constexpr unsigned kLastLengthSymbol = 285; // 286 and 287 exist only in the fixed code, unused
constexpr unsigned kDistanceCodes = 30;     // 30 and 31 exist only in the fixed code, unused
constexpr unsigned kMaxLiteralCodes = 286;  // HLIT limit of a dynamic header
constexpr unsigned kMaxDistanceCodes = 30;  // HDIST limit of a dynamic header
constexpr unsigned kCodeLengthCodes = 19;

// Length symbols 257-287 (the last two only so the fixed tree can be built over 288 symbols).
constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtraBits[31] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                          3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0, 0, 0};

// Distance codes 0-31 (30 and 31 only so the fixed tree can be built over 32 symbols).
constexpr uint16_t kDistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtraBits[32] = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6, 6,
                                            7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 0, 0};

// The widths of the main decoding tables of fixed and dynamic blocks alike, which the block loop
// is compiled for: 2^10 literal/length entries, room for two short literals in one entry; 2^8
// distance entries, as distance codes are fewer and longer. (11 bits for literals/lengths were
// measured 1 % faster on machine code but 1.5 % slower on text: the table is built per block.)
constexpr int kLiteralMainBits = 10;
constexpr int kDistanceMainBits = 8;

constexpr uint8_t kCodeLengthOrder[kCodeLengthCodes] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                        11, 4,  12, 3, 13, 2, 14, 1, 15};

// What the decoding tables carry for the literal/length code (literal bytes, the end of block,
// lengths with their extra bits; 286 and 287 refused), the distance code (distances with their
// extra bits; 30 and 31 refused) and the code-length code (plain symbols).
constexpr THuffmanAlphabet kLiteralLengthAlphabet = {kFirstLengthSymbol, kLengthExtraBits,
                                                     kLengthBase,        kEndOfBlock,
                                                     kEndOfBlock,        kLastLengthSymbol + 1};
constexpr THuffmanAlphabet kDistanceAlphabet = {0, kDistanceExtraBits, kDistanceBase,
                                                0, SIZE_MAX,           kDistanceCodes};
constexpr THuffmanAlphabet kCodeLengthAlphabet = {kCodeLengthCodes, nullptr, nullptr, 0,
                                                  SIZE_MAX,         SIZE_MAX};

} // namespace kel::inflate_tables
