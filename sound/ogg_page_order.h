#pragma once
// Watches the pages of an Ogg file go by and tells whether it holds one of the two disorders on
// which the Ogg library corrupts its own state (a memory move of negative size while decoding or
// seeking): a page of a stream after that stream's last page, or a stream spliced into the middle
// of another, whose pages then go on after the newcomer's first page. Such a file is refused
// before decoding. Everything else the library plays, and so it passes: a chain whose stream ends
// without its last page before the next begins, lost or repeated pages.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

class OggPageOrder {
 public:
  OggPageOrder();
  ~OggPageOrder();
  OggPageOrder(const OggPageOrder&) = delete;
  OggPageOrder& operator=(const OggPageOrder&) = delete;

  // The next bytes of the file, in order, any length.
  void Feed(const uint8_t* data, size_t size);
  bool InOrder() const { return mFault.empty(); }
  // What is out of order, for the log; empty while in order.
  const std::string& Fault() const { return mFault; }

 private:
  enum class StreamState { Open, Ended, CutOff };
  struct Stream {
    StreamState state = StreamState::Open;
    uint32_t cutBy = 0;  // the stream whose first page came while this one was open
  };
  struct Sync;

  void Check(uint32_t serial, long page, bool first, bool last);
  void BeginLink(uint32_t serial);

  std::unique_ptr<Sync> mSync;
  std::map<uint32_t, Stream> mStreams;  // every stream seen, by serial number
  std::set<uint32_t> mLink;             // the streams of the current link
  bool mDataSeen = false;               // a page other than a first one, in this link
  std::string mFault;
};

// The whole of a file or memory block.
bool OggPagesInOrder(const uint8_t* data, size_t size, std::string& fault);
bool OggFilePagesInOrder(const char* path, std::string& fault);
