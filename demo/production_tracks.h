#pragma once
// The production's sync tracks, when it has "data\sync\tracks.xml": read with the definitions,
// evaluated at each composed frame's demo time. Without the file nothing is keyed and every
// constant plays as written.

#include <cstdint>
#include <string>

#include "files/sync_document.h"

class ProductionTracks {
 public:
  // Reads the file from the open production, or forgets the tracks when it has none or it does
  // not read (named in the log, with the file and line of anything doubtful in it).
  void Load();
  // The tracks frames use, or null without any.
  const SyncDocument* Active() const { return mPresent ? &mDocument : nullptr; }
  bool Present() const { return mPresent; }
  // For editors: the document (an empty one once edited where the production had none).
  SyncDocument& Edit();
  // Changes made since the last load or MarkSaved.
  bool Unsaved() const { return mUnsaved; }
  // The edits are saved as text, the file's text from now on.
  void MarkSaved(std::string text);
  // Reads the file again after it changed on disk: Unchanged when it holds what was last loaded
  // or saved (our own save coming back); Refused, with the reason in error, when it does not read,
  // and the tracks loaded stay.
  enum class Outcome { Unchanged, Loaded, Refused };
  Outcome Reload(std::string& error);

 private:
  SyncDocument mDocument;
  bool mPresent = false;
  bool mUnsaved = false;
  std::string mFileText;  // as last read or written
};
