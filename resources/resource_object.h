#pragma once
// resourceObject: the base of every resource (models, scene animations, textures, effects).
// Resources are created and cached by the resource manager under the pack path they were loaded
// from and shared by reference count: users take them with gResourceManager.GetResource and give
// them back with Release; the last Release removes the resource from the cache and deletes it.
//
// A resource class derives from resourceObject, declares itself a runtime class
// (CORE_DECLARE_DYNAMIC / CORE_IMPLEMENT_DYNAMIC(resX, resourceObject)) so the manager finds it,
// and overrides:
//   CanLoad(stream): true when the stream's extension is one of the class's (HasExtension);
//   Load(stream):    call resourceObject::Load first, then parse the stream; false on failure;
//   Unload():        free what Load built; the destructor should call it too.

#include <string>

#include "core/runtime_class.h"

class CoreFileStream;

class resourceObject : public CoreObject {
  CORE_DECLARE_DYNAMIC(resourceObject)
  resourceObject() = default;
  ~resourceObject() override = default;
  resourceObject(const resourceObject&) = delete;
  resourceObject& operator=(const resourceObject&) = delete;

  // Unloads, then takes the stream's name as the path and sets the short name. Returns true.
  virtual bool Load(CoreFileStream& stream);
  // Whether this class reads the stream's kind of file. The base reads none.
  virtual bool CanLoad(CoreFileStream& stream);
  // Frees what Load built. The base has nothing to free and returns false.
  virtual bool Unload();
  // Loads again from the stored path. False when the entry is empty or the load fails.
  virtual bool Reload();
  // Why the last Load returned false, for the resource manager's message ("" when it gave none).
  const std::string& LoadFailure() const { return mLoadFailure; }
  // The developer mode's live reload: loads the stream's new version in place of the loaded one,
  // keeping the loaded one when the new one fails (the reason is logged). False then, and for
  // classes that cannot be refreshed in place (the base): those are released and loaded anew.
  virtual bool Refresh(CoreFileStream& stream);

  void AddRef() { ++mRefCount; }
  // Drops one reference; the last one removes the resource from the cache and deletes it.
  void Release();

  int GetRefCount() const { return mRefCount; }
  // The pack path it was loaded from: the cache key.
  const std::string& GetPath() const { return mPath; }
  // The path's final component without its extension (defaultTexture for ...\defaultTexture.bmp).
  const std::string& GetShortName() const { return shortName; }

 protected:
  // True when the stream's extension equals extension without regard to case.
  static bool HasExtension(const CoreFileStream& stream, const char* extension);
  // Notes why Load fails, saying what was expected and what was found; returns false for Load.
  bool FailLoad(std::string reason);

 private:
  int mRefCount = 0;
  std::string mPath;
  std::string shortName;
  std::string mLoadFailure;
};

// The final component of path without its extension.
std::string ShortNameOf(const std::string& path);
