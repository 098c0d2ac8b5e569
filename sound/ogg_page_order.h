#pragma once
// Watches the pages of an Ogg file go by and tells whether they keep the format's order: within a
// stream the page numbers only go up and nothing follows its last page; a stream begins only before
// the first data page of its link, or after every stream of the link has ended (a chain). No
// encoder writes anything else; spliced or damaged files do, and the Ogg library corrupts its own
// state on them (a memory move of negative size while decoding or seeking), so such a file is
// refused before decoding.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
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
  struct StreamPages {
    long lastPage = -1;
    bool ended = false;
  };
  struct Sync;

  void Check(uint32_t serial, long page, bool first, bool last);
  bool BeginsInTheMiddle(uint32_t serial);

  std::unique_ptr<Sync> mSync;
  std::map<uint32_t, StreamPages> mStreams;  // of the current link
  bool mDataSeen = false;                    // a page other than a first one, in this link
  std::string mFault;
};

// The whole of a file or memory block.
bool OggPagesInOrder(const uint8_t* data, size_t size, std::string& fault);
bool OggFilePagesInOrder(const char* path, std::string& fault);
