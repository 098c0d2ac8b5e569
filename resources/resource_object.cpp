#include "resources/resource_object.h"

#include <strings.h>

#include "files/core_file.h"
#include "files/core_file_stream.h"
#include "resources/resource_manager.h"

CORE_IMPLEMENT_DYNAMIC(resourceObject, CoreObject)

bool resourceObject::Load(CoreFileStream& stream) {
  Unload();
  mLoadFailure.clear();
  mPath = stream.GetName();
  shortName = ShortNameOf(mPath);
  return true;
}

bool resourceObject::CanLoad(CoreFileStream&) { return false; }

bool resourceObject::Unload() { return false; }

bool resourceObject::Reload() {
  CoreFile file(mPath.c_str(), MODE_READ);
  CoreFileStream stream(&file);
  return file.GetSize() != 0 && Load(stream);
}

bool resourceObject::Refresh(CoreFileStream&) { return false; }

void resourceObject::Release() {
  if (--mRefCount != 0) return;
  gResourceManager.RemoveFromCache(this);
  delete this;
}

bool resourceObject::FailLoad(std::string reason) {
  mLoadFailure = std::move(reason);
  return false;
}

bool resourceObject::HasExtension(const CoreFileStream& stream, const char* extension) {
  return strcasecmp(stream.GetExtension().c_str(), extension) == 0;
}

std::string ShortNameOf(const std::string& path) {
  size_t separator = path.find_last_of("\\/");
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}
