#include "sound/ogg_page_order.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <ogg/ogg.h>

namespace {

constexpr size_t OGG_SCAN_CHUNK = 65536;

}  // namespace

struct OggPageOrder::Sync {
  ogg_sync_state state;
  Sync() { ogg_sync_init(&state); }
  ~Sync() { ogg_sync_clear(&state); }
};

OggPageOrder::OggPageOrder() : mSync(std::make_unique<Sync>()) {}

OggPageOrder::~OggPageOrder() = default;

void OggPageOrder::Feed(const uint8_t* data, size_t size) {
  while (size > 0 && InOrder()) {
    size_t chunk = size < OGG_SCAN_CHUNK ? size : OGG_SCAN_CHUNK;
    char* buffer = ogg_sync_buffer(&mSync->state, static_cast<long>(chunk));
    if (!buffer) return;
    std::memcpy(buffer, data, chunk);
    ogg_sync_wrote(&mSync->state, static_cast<long>(chunk));
    data += chunk;
    size -= chunk;
    ogg_page page;
    int found;
    // Bytes that are no page, or a page whose checksum fails, are skipped as the decoder skips them.
    while (InOrder() && (found = ogg_sync_pageout(&mSync->state, &page)) != 0) {
      if (found < 0) continue;
      Check(static_cast<uint32_t>(ogg_page_serialno(&page)), ogg_page_pageno(&page), ogg_page_bos(&page) != 0,
            ogg_page_eos(&page) != 0);
    }
  }
}

// A first page after the link's data has begun begins the next link of a chain; a stream of the
// last link still open is cut off there, and must not go on.
void OggPageOrder::BeginLink(uint32_t serial) {
  for (uint32_t other : mLink) {
    Stream& stream = mStreams[other];
    if (stream.state != StreamState::Open) continue;
    stream.state = StreamState::CutOff;
    stream.cutBy = serial;
  }
  mLink.clear();
  mDataSeen = false;
}

void OggPageOrder::Check(uint32_t serial, long page, bool first, bool last) {
  char text[160];
  if (first) {
    if (mDataSeen) BeginLink(serial);
    // A chain may begin a stream again under the same serial number.
    mStreams[serial] = Stream{};
    mLink.insert(serial);
  } else {
    Stream& stream = mStreams[serial];
    if (stream.state == StreamState::Ended) {
      std::snprintf(text, sizeof text, "page %ld of stream %08x comes after that stream's last page", page, serial);
      mFault = text;
    } else if (stream.state == StreamState::CutOff) {
      std::snprintf(text, sizeof text, "stream %08x begins in the middle of stream %08x", stream.cutBy, serial);
      mFault = text;
    }
    mLink.insert(serial);
    mDataSeen = true;
  }
  if (last) mStreams[serial].state = StreamState::Ended;
}

bool OggPagesInOrder(const uint8_t* data, size_t size, std::string& fault) {
  OggPageOrder order;
  order.Feed(data, size);
  fault = order.Fault();
  return order.InOrder();
}

bool OggFilePagesInOrder(const char* path, std::string& fault) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return true;  // the decoder's own open reports a missing file
  OggPageOrder order;
  std::vector<uint8_t> buffer(OGG_SCAN_CHUNK);
  size_t got;
  while (order.InOrder() && (got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) order.Feed(buffer.data(), got);
  std::fclose(file);
  fault = order.Fault();
  return order.InOrder();
}
