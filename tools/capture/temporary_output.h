#pragma once
// Output written under a temporary name beside its final one (".NAME.part-PID", same folder) and
// renamed into place once complete, so that a failed, interrupted or killed capture never leaves
// a half-written file under the final name. The temporary is removed when the output is dropped,
// and also when the process ends on a critical error.

#include <string>

class TemporaryOutput {
 public:
  TemporaryOutput() = default;
  ~TemporaryOutput();
  TemporaryOutput(const TemporaryOutput&) = delete;
  TemporaryOutput& operator=(const TemporaryOutput&) = delete;

  // Creates the temporary file (or folder, for a folder of files) for finalPath. False with
  // error set when its folder cannot be written.
  bool Prepare(const std::string& finalPath, bool folder, std::string& error);
  // Where to write.
  const std::string& Path() const { return mTemporary; }
  // Moves what was written to the final name (into the final folder, when it exists already).
  bool Commit(std::string& error);
  // Removes what was written.
  void Discard();

 private:
  std::string mFinal;
  std::string mTemporary;
  bool mFolder = false;
};
