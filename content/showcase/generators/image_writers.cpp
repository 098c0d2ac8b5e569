#include "content/showcase/generators/image_writers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>
#include <squish.h>

#include "render/texture_png_writer.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

bool SamePixel(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 4) == 0; }

void PutTgaPixel(std::vector<uint8_t>& out, const uint8_t* rgba) {
  out.push_back(rgba[2]);
  out.push_back(rgba[1]);
  out.push_back(rgba[0]);
  out.push_back(rgba[3]);
}

// One TGA scanline as packets: runs of two or more equal pixels, literal stretches between them,
// at most 128 pixels a packet, never across rows.
void PutTgaRow(std::vector<uint8_t>& out, const Rgba8Image& image, int y) {
  constexpr int MAX_PACKET = 128;
  int x = 0;
  auto runLength = [&](int from) {
    int length = 1;
    while (from + length < image.width && length < MAX_PACKET && SamePixel(image.At(from, y), image.At(from + length, y))) {
      ++length;
    }
    return length;
  };
  while (x < image.width) {
    int run = runLength(x);
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      PutTgaPixel(out, image.At(x, y));
      x += run;
      continue;
    }
    int start = x;
    while (x < image.width && x - start < MAX_PACKET && (x == start || runLength(x) < 2)) ++x;
    out.push_back(static_cast<uint8_t>(x - start - 1));
    for (int i = start; i < x; ++i) PutTgaPixel(out, image.At(i, y));
  }
}

// One component of a Radiance scanline: runs of three or more as (128 + count, value), other
// bytes as (count, bytes).
void PutHdrComponent(std::vector<uint8_t>& out, const std::vector<uint8_t>& values) {
  constexpr size_t MAX_RUN = 127;
  constexpr size_t MAX_LITERAL = 128;
  constexpr size_t MIN_RUN = 3;
  size_t n = values.size();
  auto runLength = [&](size_t from) {
    size_t length = 1;
    while (from + length < n && length < MAX_RUN && values[from + length] == values[from]) ++length;
    return length;
  };
  size_t i = 0;
  while (i < n) {
    size_t run = runLength(i);
    if (run >= MIN_RUN) {
      out.push_back(static_cast<uint8_t>(128 + run));
      out.push_back(values[i]);
      i += run;
      continue;
    }
    size_t start = i;
    while (i < n && i - start < MAX_LITERAL && (i == start || runLength(i) < MIN_RUN)) ++i;
    out.push_back(static_cast<uint8_t>(i - start));
    out.insert(out.end(), values.begin() + static_cast<long>(start), values.begin() + static_cast<long>(i));
  }
}

}  // namespace

std::vector<uint8_t> WritePng(const Rgba8Image& image) {
  return EncodeRgbaPng(image.pixels.data(), image.width, image.height, "Torvane showcase");
}

std::vector<uint8_t> WriteJpeg(const Rgba8Image& image, int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * 3);
  while (info.next_scanline < info.image_height) {
    int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < image.width; ++x) std::memcpy(&row[static_cast<size_t>(x) * 3], image.At(x, y), 3);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

std::vector<uint8_t> WriteBmpWithBlueKey(const Rgba8Image& image) {
  uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(image.height);
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, 54 + pixelBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height));  // positive: bottom row first
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, pixelBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    size_t rowStart = out.size();
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.At(x, y);
      uint8_t r = p[0], g = p[1], b = p[2];
      if (p[3] < 128) {
        r = 0, g = 0, b = 255;
      } else if (r == 0 && g == 0 && b == 255) {
        b = 254;
      }
      out.insert(out.end(), {b, g, r});
    }
    out.resize(rowStart + rowBytes, 0);
  }
  return out;
}

std::vector<uint8_t> WriteTgaRle(const Rgba8Image& image) {
  std::vector<uint8_t> out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16(out, static_cast<uint32_t>(image.width));
  Put16(out, static_cast<uint32_t>(image.height));
  out.push_back(32);
  out.push_back(0x28);  // eight alpha bits, top row first
  for (int y = 0; y < image.height; ++y) PutTgaRow(out, image, y);
  return out;
}

std::array<uint8_t, 4> ToRgbe(const float* rgb) {
  double largest = std::max({rgb[0], rgb[1], rgb[2]});
  if (largest < 1e-32) return {0, 0, 0, 0};
  int exponent = 0;
  double mantissa = std::frexp(largest, &exponent);
  double scale = mantissa * 256.0 / largest;
  auto byte = [&](float value) { return static_cast<uint8_t>(std::clamp(value * scale, 0.0, 255.0)); };
  return {byte(rgb[0]), byte(rgb[1]), byte(rgb[2]), static_cast<uint8_t>(exponent + 128)};
}

std::vector<uint8_t> WriteHdrRle(const RadianceImage& image) {
  char header[128];
  int length = std::snprintf(header, sizeof header, "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y %d +X %d\n",
                             image.height, image.width);
  std::vector<uint8_t> out(header, header + length);
  std::array<std::vector<uint8_t>, 4> components;
  for (auto& component : components) component.resize(static_cast<size_t>(image.width));
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      std::array<uint8_t, 4> rgbe = ToRgbe(&image.pixels[(static_cast<size_t>(y) * image.width + x) * 3]);
      for (int c = 0; c < 4; ++c) components[c][static_cast<size_t>(x)] = rgbe[c];
    }
    out.insert(out.end(), {2, 2, static_cast<uint8_t>(image.width >> 8), static_cast<uint8_t>(image.width & 0xFF)});
    for (const auto& component : components) PutHdrComponent(out, component);
  }
  return out;
}

std::vector<uint8_t> WriteDdsCube(const std::array<Rgba8Image, 6>& faces) {
  int side = faces[0].width;
  for (const Rgba8Image& face : faces) {
    if (face.width != side || face.height != side || side <= 0) return {};
  }
  int flags = squish::kDxt1 | squish::kColourClusterFit;
  uint32_t faceBytes = static_cast<uint32_t>(squish::GetStorageRequirements(side, side, flags));
  std::vector<uint8_t> out = {'D', 'D', 'S', ' '};
  Put32(out, 124);
  Put32(out, 0x21007 | 0x80000);  // caps, height, width, pixel format, mipmap count, linear size
  Put32(out, static_cast<uint32_t>(side));
  Put32(out, static_cast<uint32_t>(side));
  Put32(out, faceBytes);
  Put32(out, 0);  // depth
  Put32(out, 1);  // levels
  for (int i = 0; i < 11; ++i) Put32(out, 0);
  Put32(out, 32);  // pixel format: size, four-character code flag, "DXT1"
  Put32(out, 0x4);
  out.insert(out.end(), {'D', 'X', 'T', '1'});
  for (int i = 0; i < 5; ++i) Put32(out, 0);
  Put32(out, 0x1008);  // texture, complex
  Put32(out, 0xFE00);  // cube map with all six faces
  for (int i = 0; i < 3; ++i) Put32(out, 0);
  for (const Rgba8Image& face : faces) {
    std::vector<uint8_t> blocks(faceBytes);
    squish::CompressImage(face.pixels.data(), side, side, blocks.data(), flags);
    out.insert(out.end(), blocks.begin(), blocks.end());
  }
  return out;
}
