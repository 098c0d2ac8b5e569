#include "files/res_tdf.h"

#include "files/core_file_stream.h"

CORE_IMPLEMENT_DYNAMIC(resTDF, resourceObject)

resTDF::~resTDF() { Unload(); }

bool resTDF::CanLoad(CoreFileStream& stream) { return HasExtension(stream, "tdf"); }

bool resTDF::Load(CoreFileStream& stream) {
  resourceObject::Load(stream);
  mDocument = std::make_unique<TdfDocument>();
  return mDocument->ParseTdf(stream.GetName().c_str());
}

bool resTDF::Unload() {
  mDocument.reset();
  return true;
}
