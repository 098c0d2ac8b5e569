#pragma once
// resTDF: a scene animation file as a resource, holding its parsed document (and, through its
// model table, the models it names).

#include <memory>

#include "files/resource_object.h"
#include "files/tdf_document.h"

class resTDF : public resourceObject {
  CORE_DECLARE_DYNAMIC(resTDF)
  resTDF() = default;
  ~resTDF() override;

  // Parses the stream's file into a new document, loading its models. Returns the parse result.
  bool Load(CoreFileStream& stream) override;
  // True for "tdf" in any case.
  bool CanLoad(CoreFileStream& stream) override;
  // Destroys the document. Returns true.
  bool Unload() override;

  // The document, or null before Load.
  const TdfDocument* GetDocument() const { return mDocument.get(); }

 private:
  std::unique_ptr<TdfDocument> mDocument;
};
