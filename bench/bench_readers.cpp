// Reader speed: our PNG and JPEG decoders against plain library reads of the same pictures, the
// model cache load (normals and split) at three sizes, and GetKey over short and long tracks.
#include <benchmark/benchmark.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "files/model_cache.h"
#include "files/model_cache_writer.h"
#include "files/tdf_object.h"
#include "render/image/decoders.h"
#include "render/texture_png_writer.h"

namespace {

constexpr int SIDE = 1024;

// A picture with smooth areas and noise, so both codecs do real work.
std::vector<uint8_t> TestPicture() {
  std::vector<uint8_t> pixels(static_cast<size_t>(SIDE) * SIDE * 4);
  uint32_t seed = 12345;
  for (int y = 0; y < SIDE; ++y) {
    for (int x = 0; x < SIDE; ++x) {
      seed = seed * 1664525u + 1013904223u;
      uint8_t* p = &pixels[(static_cast<size_t>(y) * SIDE + x) * 4];
      p[0] = static_cast<uint8_t>(x / 4);
      p[1] = static_cast<uint8_t>(y / 4);
      p[2] = static_cast<uint8_t>((x ^ y) + (seed >> 29));
      p[3] = 255;
    }
  }
  return pixels;
}

const std::vector<uint8_t>& PngFile() {
  static const std::vector<uint8_t> file = [] {
    std::vector<uint8_t> pixels = TestPicture();
    return EncodeRgbaPng(pixels.data(), SIDE, SIDE, "bench");
  }();
  return file;
}

const std::vector<uint8_t>& JpegFile() {
  static const std::vector<uint8_t> file = [] {
    std::vector<uint8_t> pixels = TestPicture();
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = SIDE;
    info.image_height = SIDE;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBA;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      JSAMPROW row = &pixels[static_cast<size_t>(info.next_scanline) * SIDE * 4];
      jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
  }();
  return file;
}

void BM_PngDecoder(benchmark::State& state) {
  const std::vector<uint8_t>& file = PngFile();
  for (auto _ : state) {
    ImageData image;
    benchmark::DoNotOptimize(DecodePng(file.data(), file.size(), image));
  }
  state.SetBytesProcessed(state.iterations() * SIDE * SIDE * 4);
}
BENCHMARK(BM_PngDecoder)->Unit(benchmark::kMillisecond);

// The plain way: libpng's simplified reader straight into RGBA.
void BM_PngPlainLibpng(benchmark::State& state) {
  const std::vector<uint8_t>& file = PngFile();
  std::vector<uint8_t> pixels(static_cast<size_t>(SIDE) * SIDE * 4);
  for (auto _ : state) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, file.data(), file.size());
    image.format = PNG_FORMAT_RGBA;
    benchmark::DoNotOptimize(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    png_image_free(&image);
  }
  state.SetBytesProcessed(state.iterations() * SIDE * SIDE * 4);
}
BENCHMARK(BM_PngPlainLibpng)->Unit(benchmark::kMillisecond);

void BM_JpegDecoder(benchmark::State& state) {
  const std::vector<uint8_t>& file = JpegFile();
  for (auto _ : state) {
    ImageData image;
    benchmark::DoNotOptimize(DecodeJpeg(file.data(), file.size(), image));
  }
  state.SetBytesProcessed(state.iterations() * SIDE * SIDE * 4);
}
BENCHMARK(BM_JpegDecoder)->Unit(benchmark::kMillisecond);

// The plain way: libjpeg-turbo decompressing into an RGBA buffer.
void BM_JpegPlainLibjpeg(benchmark::State& state) {
  const std::vector<uint8_t>& file = JpegFile();
  std::vector<uint8_t> pixels(static_cast<size_t>(SIDE) * SIDE * 4);
  for (auto _ : state) {
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), file.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = &pixels[static_cast<size_t>(info.output_scanline) * SIDE * 4];
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(state.iterations() * SIDE * SIDE * 4);
}
BENCHMARK(BM_JpegPlainLibjpeg)->Unit(benchmark::kMillisecond);

// A wavy grid of shared vertices with about `triangles` triangles, as a cache file.
std::vector<uint8_t> GridCache(int64_t triangles) {
  int cells = static_cast<int>(std::sqrt(static_cast<double>(triangles) / 2));
  ModelData model;
  model.materials.emplace_back();
  ModelObject object;
  object.name = "grid";
  for (int y = 0; y <= cells; ++y) {
    for (int x = 0; x <= cells; ++x) {
      object.positions.insert(object.positions.end(), {float(x), float(y), std::sin(x * 0.3f) * std::cos(y * 0.2f)});
    }
  }
  auto at = [&](int x, int y) { return static_cast<uint32_t>(y * (cells + 1) + x); };
  for (int y = 0; y < cells; ++y) {
    for (int x = 0; x < cells; ++x) {
      ModelFace a, b;
      a.indices = {at(x, y), at(x + 1, y), at(x + 1, y + 1), 0};
      b.indices = {at(x, y), at(x + 1, y + 1), at(x, y + 1), 0};
      object.faces.push_back(a);
      object.faces.push_back(b);
    }
  }
  model.objects.push_back(std::move(object));
  return WriteModelCache(model);
}

void BM_ModelCacheLoad(benchmark::State& state) {
  std::vector<uint8_t> file = GridCache(state.range(0));
  for (auto _ : state) {
    ModelData model;
    benchmark::DoNotOptimize(ParseModelCache(file.data(), file.size(), model));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ModelCacheLoad)->Arg(10000)->Arg(20000)->Arg(100000)->Arg(200000)->Arg(1000000)->Arg(2000000)->Unit(benchmark::kMillisecond);

// GetKey near the end of a track of n keys, where the segment search is longest.
void BM_GetKey(benchmark::State& state) {
  TdfObject object;
  std::vector<TdfKey>& keys = object.parts["camera_pos"];
  for (int64_t k = 0; k < state.range(0); ++k) {
    object.times.push_back(static_cast<float>(k));
    TdfKey key;
    key.position = {float(k), float(k * k % 7), 1};
    keys.push_back(key);
  }
  float time = static_cast<float>(state.range(0)) - 1.5f;
  for (auto _ : state) benchmark::DoNotOptimize(object.GetKey("camera_pos", time));
}
BENCHMARK(BM_GetKey)->Arg(10)->Arg(10000);

}  // namespace
