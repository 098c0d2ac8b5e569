#include "render/image/decoders.h"

#include <cstring>
#include <vector>

#include <gif_lib.h>

namespace {

struct GifSource {
  const uint8_t* data;
  size_t size;
  size_t position;
};

int ReadFromSource(GifFileType* file, GifByteType* destination, int count) {
  GifSource* source = static_cast<GifSource*>(file->UserData);
  size_t available = source->size - source->position;
  size_t take = count < 0 ? 0 : static_cast<size_t>(count) < available ? static_cast<size_t>(count) : available;
  std::memcpy(destination, source->data + source->position, take);
  source->position += take;
  return static_cast<int>(take);
}

struct GifFrame {
  int transparent = NO_TRANSPARENT_COLOR;
  std::vector<GifPixelType> raster;
};

bool ReadGraphicsControl(GifFileType* file, GifFrame& frame) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(file, &code, &block) != GIF_OK) return RefuseImage("its data is damaged or cut short");
  GraphicsControlBlock control;
  if (code == GRAPHICS_EXT_FUNC_CODE && block && DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
    frame.transparent = control.TransparentColor;
  }
  while (block) {
    if (DGifGetExtensionNext(file, &block) != GIF_OK) return RefuseImage("its data is damaged or cut short");
  }
  return true;
}

// Reads the frame's indices into display order; interlaced frames store rows in four passes.
bool ReadRaster(GifFileType* file, GifFrame& frame) {
  const GifImageDesc& desc = file->Image;
  if (!ImageSizeAcceptable(desc.Width, desc.Height)) return RefuseImage("its frame is empty or too large");
  frame.raster.assign(static_cast<size_t>(desc.Width) * desc.Height, 0);
  static constexpr int PASS_START[] = {0, 4, 2, 1};
  static constexpr int PASS_STEP[] = {8, 8, 4, 2};
  int passes = desc.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    int start = desc.Interlace ? PASS_START[pass] : 0;
    int step = desc.Interlace ? PASS_STEP[pass] : 1;
    for (int y = start; y < desc.Height; y += step) {
      if (DGifGetLine(file, frame.raster.data() + static_cast<size_t>(y) * desc.Width, desc.Width) != GIF_OK) {
        return RefuseImage("its pixels are damaged or cut short");
      }
    }
  }
  return true;
}

bool ReadFirstFrame(GifFileType* file, GifFrame& frame) {
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(file, &type) != GIF_OK) return RefuseImage("its data is damaged or cut short");
    if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(file) == GIF_OK && ReadRaster(file, frame);
    if (type == EXTENSION_RECORD_TYPE && !ReadGraphicsControl(file, frame)) return false;
    if (type == TERMINATE_RECORD_TYPE) return RefuseImage("it holds no picture");
  }
}

void PaintFrame(const GifFileType& file, const GifFrame& frame, ImageData& out) {
  const GifImageDesc& desc = file.Image;
  const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : file.SColorMap;
  if (!colors) return;
  for (int y = 0; y < desc.Height; ++y) {
    int row = desc.Top + y;
    if (row < 0 || row >= out.height) continue;
    for (int x = 0; x < desc.Width; ++x) {
      int column = desc.Left + x;
      if (column < 0 || column >= out.width) continue;
      int index = frame.raster[static_cast<size_t>(y) * desc.Width + x];
      if (index == frame.transparent || index >= colors->ColorCount) continue;
      uint8_t* pixel = out.pixels.data() + (static_cast<size_t>(row) * out.width + column) * 4;
      pixel[0] = colors->Colors[index].Red;
      pixel[1] = colors->Colors[index].Green;
      pixel[2] = colors->Colors[index].Blue;
    }
  }
}

}  // namespace

bool DecodeGif(const uint8_t* data, size_t size, ImageData& out) {
  out = ImageData{};
  GifSource source{data, size, 0};
  int error = 0;
  GifFileType* file = DGifOpen(&source, ReadFromSource, &error);
  if (!file) return RefuseImage(std::string("it is not a GIF: ") + GifErrorString(error));
  GifFrame frame;
  bool ok = ImageSizeAcceptable(file->SWidth, file->SHeight) && ReadFirstFrame(file, frame);
  if (ok) {
    out.width = file->SWidth;
    out.height = file->SHeight;
    out.pixels.assign(static_cast<size_t>(out.width) * out.height * 4, 0);
    for (size_t at = 3; at < out.pixels.size(); at += 4) out.pixels[at] = 255;
    PaintFrame(*file, frame, out);
  }
  DGifCloseFile(file, &error);
  return ok;
}
