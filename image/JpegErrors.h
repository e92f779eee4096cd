#pragma once

#include <cstdint>

// Result codes of the JPEG decoder. 0 is success; every decoder failure is one of
// these negative codes. Memory failures use the platform's codes (8).
namespace image {

inline constexpr int32_t kJpegOk = 0;
inline constexpr int32_t kJpegErrHuffmanCounts = -200;    // code counts sum to 256 or more, or oversubscribe the code space
inline constexpr int32_t kJpegErrHuffmanId = -201;        // table class and identifier beyond 7
inline constexpr int32_t kJpegErrHuffmanLength = -202;    // Huffman table longer than its segment
inline constexpr int32_t kJpegErrQuantSegment = -203;     // quantisation segment length below 2
inline constexpr int32_t kJpegErrQuantId = -204;          // quantisation table identifier beyond 3
inline constexpr int32_t kJpegErrPrecision = -205;        // sample precision other than 8
inline constexpr int32_t kJpegErrBadCode = -206;          // entropy data holds a code no table has, or runs past 64 coefficients
inline constexpr int32_t kJpegErrTruncated = -207;        // input ends before the picture does
inline constexpr int32_t kJpegErrComponentCount = -208;   // more than 4 frame components
inline constexpr int32_t kJpegErrFrameLength = -209;      // frame segment length does not match its components
inline constexpr int32_t kJpegErrSegmentLength = -210;    // segment length below 2
inline constexpr int32_t kJpegErrRestartLength = -211;    // restart-interval segment length other than 4
inline constexpr int32_t kJpegErrScanHeader = -212;       // scan header length or component count unusable
inline constexpr int32_t kJpegErrScanComponent = -213;    // scan names a component the frame lacks
inline constexpr int32_t kJpegErrMissingTable = -214;     // a table the picture uses was never defined
inline constexpr int32_t kJpegErrArithmetic = -215;       // arithmetic coding
inline constexpr int32_t kJpegErrUnexpectedMarker = -216; // marker out of place, or end of image before the scan
inline constexpr int32_t kJpegErrNotJpeg = -217;          // no start-of-image marker
inline constexpr int32_t kJpegErrFrameType = -218;        // frame type other than baseline / extended sequential
inline constexpr int32_t kJpegErrQuantLength = -219;      // quantisation table longer than its segment
inline constexpr int32_t kJpegErrTooLarge = -220;         // picture beyond the size bound, or more than its data can hold
inline constexpr int32_t kJpegErrEmptyFrame = -221;       // width or height 0, or a sampling factor outside 1 to 4
inline constexpr int32_t kJpegErrRestartMarker = -222;    // no restart marker where one was due
inline constexpr int32_t kJpegErrNoFrame = -223;          // scan before any frame header
inline constexpr int32_t kJpegErrComponents = -225;       // component count other than 1 or 3
inline constexpr int32_t kJpegErrSampling = -226;         // sampling layout not supported
inline constexpr int32_t kJpegErrProgressive = -234;      // progressive JPEG

}  // namespace image
