#pragma once

// Checks run before a file reaches the image decoder (stb_image 2.27), for
// inputs on which the decoder itself would corrupt memory or allocate far
// more than the file could fill. Each refuses only files the decoder would
// also fail on or that no valid image looks like.

#include <cstddef>
#include <optional>
#include <string_view>

namespace m3d {

// The formats the decoder reads that we hand to it, told apart the way it
// tells them apart; Other for its remaining formats and for anything else.
enum class StbImageKind { Jpeg, Png, Bmp, Pnm, Tga, Other };
StbImageKind StbImageKindOf(std::string_view bytes);

// True when bytes open with the JPEG start-of-image marker (fill bytes allowed).
bool HasJpegMagic(std::string_view bytes);

// The offset of a "define Huffman table" marker whose tables declare more than
// 256 codes; nullopt when there is none. The decoder writes that many entries
// into 257-byte arrays inside its state without checking. Every FF C4 in the file
// counts, not only those a strict reader would reach, because the decoder skips
// junk between segments and after the entropy-coded data; a valid table never
// declares more than 256 codes, so a real image is not refused.
std::optional<size_t> FindOversizedJpegHuffmanTable(std::string_view bytes);

// Whether a JPEG of fileBytes bytes claims more pixels than any JPEG of that
// length can hold. The entropy coder spends at least two bits on an 8 x 8
// block, so a baseline image holds at most 256 pixels per byte; 4096 leaves
// room for progressive files, whose end-of-band runs cover many blocks at
// once. Below a floor of one million pixels nothing is refused. The decoder
// fills a short file's missing blocks itself, so a 658-byte file claiming
// 8192 x 2054 took seconds and 64 MB to decode.
bool JpegClaimsMorePixelsThanItsBytes(uint64_t pixels, size_t fileBytes);

// The offset of the first PNG chunk, before IEND, whose declared length runs
// past the end of the file; nullopt when there is none or bytes is no PNG. The
// decoder would first grow its buffer to the declared length (up to 4 GB).
std::optional<size_t> FindTruncatedPngChunk(std::string_view bytes);

// The offset of the first image data chunk of a PNG whose data, inflated,
// holds more bytes than the rows its header declares (with their filter
// bytes, all seven passes of an interlaced image); nullopt when there is none,
// the data cannot be inflated (the decoder then says why) or bytes is no PNG.
// The decoder grows its buffer to whatever the data inflates to, up to about
// a thousand times the file's size, before it compares.
std::optional<size_t> FindOverlongPngData(std::string_view bytes);

// True when bytes open with the binary PNM magic, "P5" (grey) or "P6" (RGB).
bool HasPnmMagic(std::string_view bytes);

// True when bytes is a binary PNM (P5 or P6) whose header, read the way the
// decoder reads it, promises more pixel bytes than follow it. The decoder does
// not check and hands out its uninitialised buffer as the image.
bool IsTruncatedPnm(std::string_view bytes);

// True when bytes is a BMP the decoder reads (a "BM" file with a header size it
// knows, uncompressed: it refuses run-length BMPs itself) whose pixel rows, laid
// out as its header says from its pixel offset, run past the end of the file;
// the padding of the last row may be missing. The decoder reads zeros past the
// end and hands out a full image.
bool IsTruncatedBmp(std::string_view bytes);

// True when bytes is a TGA by the decoder's own header test whose pixels
// cannot be in the bytes after its header, identifier and palette: raw pixels
// that run past the end, or a run-length image larger than 128 pixels for
// every packet that fits (a packet takes at least one byte and one pixel and
// repeats it at most 128 times). The decoder reads zeros past the end.
bool IsTruncatedTga(std::string_view bytes);

}  // namespace m3d
