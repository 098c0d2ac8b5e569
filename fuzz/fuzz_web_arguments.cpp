// The browser player's arguments, which the page builds from a link's query: the bytes split at
// NUL into arguments.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "web/web_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words(1, "torvane");
  words.emplace_back();
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.emplace_back();
    } else {
      words.back() += static_cast<char>(data[i]);
    }
  }
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  WebArguments arguments;
  std::string error;
  if (ParseWebArguments(static_cast<int>(argv.size()), argv.data(), arguments, error)) {
    // A frame that parsed is one the engine can be started with.
    if (arguments.frame.width <= 0 || arguments.frame.height <= 0) __builtin_trap();
  }
  return 0;
}
