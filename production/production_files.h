#pragma once
// The files of a production by pack path ("data\definition\tdfDefine.xml"), wherever they are
// kept: the open pack, or (for the checker) a content folder laid out like one. What checks a
// production reads it through this, so that the same checks serve the player and the tools.

#include <string>
#include <vector>

#include "files/model_data.h"

// Something in a model's source that was taken otherwise than it is written, at its line.
struct ModelSourceNote {
  int line = 0;
  std::string text;
};

struct ProductionModel {
  ModelData data;
  std::vector<std::string> materialNames;  // as authored, when the source is at hand; else empty
  std::vector<ModelSourceNote> sourceWarnings;  // when the source is at hand
  int errorLine = 0;  // when it does not read: the line of the source at fault, if known
};

class ProductionFiles {
 public:
  virtual ~ProductionFiles() = default;

  // What messages call the production as a whole (a folder, a pack file).
  virtual std::string Name() const = 0;
  // Every pack path it holds, in byte order.
  virtual std::vector<std::string> Names() const = 0;
  virtual bool Has(const std::string& path) const = 0;
  // The file's bytes; false when it is missing.
  virtual bool Read(const std::string& path, std::string& bytes) const = 0;
  // Where an author finds the file: a path on disk, or the pack path.
  virtual std::string DisplayName(const std::string& path) const { return path; }
  // The model of a cache path ("data\model\ship.bmdl"); false with a reason when it does not read.
  virtual bool ReadModel(const std::string& cachePath, ProductionModel& model, std::string& error) const;
  // The 1-based line where text first occurs in the file as its author edits it; 0 if nowhere.
  virtual int LineOf(const std::string& path, const std::string& text) const;
};

// The 1-based line of the first occurrence of needle in text; 0 if none.
int LineOfText(const std::string& text, const std::string& needle);

// The process-wide pack (files/pack_file.h), as the player reads it.
class OpenPackFiles : public ProductionFiles {
 public:
  explicit OpenPackFiles(std::string name);
  std::string Name() const override { return mName; }
  std::vector<std::string> Names() const override;
  bool Has(const std::string& path) const override;
  bool Read(const std::string& path, std::string& bytes) const override;

 private:
  std::string mName;
};
