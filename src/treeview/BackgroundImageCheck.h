#pragma once
// The check of a bitmap the user picks as the tree's background image,
// before it is taken: its first 54 bytes must be the file header and the
// 40-byte information header of an uncompressed 24-bit picture whose pixels
// follow at once, at byte 54. The pixels themselves are read when the image
// is built.

#include <cstddef>
#include <cstdint>
#include <string>

namespace jb {

enum class BackgroundImageCheck {
  Accepted,
  CannotOpen,  // message "Cannot open this image !"
  Not24Bit,    // the 24-bit message; also a file shorter than the headers
};

inline constexpr std::size_t kBitmapHeadersSize = 54;

// bytes: the start of the file, size of them (any number, even fewer than
// the headers).
BackgroundImageCheck CheckBackgroundImageHeaders(const std::uint8_t* bytes, std::size_t size);
BackgroundImageCheck CheckBackgroundImageFile(const std::string& path);

}  // namespace jb
