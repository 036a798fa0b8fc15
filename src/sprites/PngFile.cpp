#include "sprites/PngFile.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace jb {

void WritePng(const std::string& path, const CQvSprite& sprite,
              const std::vector<std::pair<std::string, std::string>>& text) {
  if (!sprite.IsBitmapCreated()) throw std::runtime_error("empty picture for " + path);
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) throw std::runtime_error("libpng failed");
  const int width = sprite.GetWidth(), height = sprite.GetHeight();
  std::vector<png_byte> row(static_cast<size_t>(width) * 4);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("cannot write " + path);
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_text> chunks(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
    chunks[i].key = const_cast<char*>(text[i].first.c_str());
    chunks[i].text = const_cast<char*>(text[i].second.c_str());
  }
  if (!chunks.empty()) png_set_text(png, info, chunks.data(), static_cast<int>(chunks.size()));
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t p = sprite.GetPixel(x, y);
      png_byte* out = &row[static_cast<size_t>(x) * 4];
      out[0] = png_byte(p >> 16);
      out[1] = png_byte(p >> 8);
      out[2] = png_byte(p);
      out[3] = png_byte(p >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
}

bool ReadPng(const std::string& path, CQvSprite& sprite) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  if (image.width == 0 || image.height == 0 || image.width > std::uint32_t(CQvSprite::kMaxSide) ||
      image.height > std::uint32_t(CQvSprite::kMaxSide)) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  CQvSprite read;
  read.CreateBitmap(static_cast<std::int32_t>(image.width), static_cast<std::int32_t>(image.height));
  std::uint32_t* out = read.Bits();
  for (size_t i = 0; i < bytes.size() / 4; ++i) {
    const png_byte* p = &bytes[i * 4];
    out[i] = std::uint32_t(p[3]) << 24 | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
  }
  sprite = std::move(read);
  return true;
}

CQvSprite Scaled(const CQvSprite& sprite, int factor) {
  CQvSprite out;
  out.CreateBitmap(sprite.GetWidth() * factor, sprite.GetHeight() * factor);
  for (int y = 0; y < out.GetHeight(); ++y)
    for (int x = 0; x < out.GetWidth(); ++x) out.SetPixel(x, y, sprite.GetPixel(x / factor, y / factor));
  return out;
}

}  // namespace jb
