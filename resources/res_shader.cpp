#include "resources/res_shader.h"

#include <string>

#include "core/critical.h"
#include "core/log.h"
#include "files/core_file_stream.h"
#include "render/shader_manager.h"
#include "resources/resource_manager.h"

CORE_IMPLEMENT_DYNAMIC(resShader, resourceObject)

namespace {

// One log line per compiler message ("file:line: text"), then what the picture falls back to.
void LogCompileFailure(const std::string& path, const std::string& messages) {
  size_t start = 0;
  while (start < messages.size()) {
    size_t end = messages.find('\n', start);
    if (end == std::string::npos) end = messages.size();
    if (end > start) LogText(LogLevel::Error, "effect", messages.substr(start, end - start));
    start = end + 1;
  }
  if (path != DUMMY_SHADER_PATH) {
    Log(LogLevel::Warning, "effect", "%s does not build; drawn with %s instead", path.c_str(), DUMMY_SHADER_PATH);
  }
}

}  // namespace

resShader::~resShader() { Unload(); }

bool resShader::CanLoad(CoreFileStream& stream) {
  return HasExtension(stream, "cg") || HasExtension(stream, "fx") || HasExtension(stream, "cgfx");
}

bool resShader::Load(CoreFileStream& stream) {
  resourceObject::Load(stream);
  std::string text(static_cast<size_t>(stream.GetSize()), '\0');
  text.resize(static_cast<size_t>(stream.Read(text.data(), text.size())));
  if (mOwnEffect.Create(text, GetPath())) {
    mEffect = &mOwnEffect;
    return true;
  }
  LogCompileFailure(GetPath(), mOwnEffect.Log());
  Unload();
  if (GetPath() == DUMMY_SHADER_PATH) CoreFatal(CRITICAL_DUMMY_SHADER);
  resourceObject* fallback = gResourceManager.GetResource(DUMMY_SHADER_PATH);
  mFallback = dynamic_cast<resShader*>(fallback);
  if (!mFallback) {
    // Something other than an effect answered for the fallback's path.
    if (fallback) fallback->Release();
    CoreFatal(CRITICAL_DUMMY_SHADER);
  }
  mEffect = mFallback->getEffect();
  return true;
}

bool resShader::Unload() {
  if (mFallback) {
    resShader* fallback = mFallback;
    mFallback = nullptr;
    fallback->Release();
  } else {
    mOwnEffect.Destroy();
  }
  mEffect = nullptr;
  return true;
}

void resShader::setParameter(const char* name, const void* values) {
  if (mEffect) mEffect->setParameter(name, values);
}

void resShader::setStateMatrix(const char* name, int flags) {
  if (mEffect) mEffect->setStateMatrix(name, flags);
}

void resShader::setPassState(int pass) {
  if (mEffect) mEffect->setPassState(pass);
}

void resShader::resetPassState(int pass) {
  if (mEffect) mEffect->resetPassState(pass);
}
