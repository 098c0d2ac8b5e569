#include "resources/res_shader.h"

#include <string>

#include "core/critical.h"
#include "core/log.h"
#include "files/core_file_stream.h"
#include "render/shader_manager.h"
#include "resources/resource_manager.h"

CORE_IMPLEMENT_DYNAMIC(resShader, resourceObject)

namespace {

// One log line per compiler message ("file:line: text").
void LogCompilerMessages(const std::string& messages) {
  size_t start = 0;
  while (start < messages.size()) {
    size_t end = messages.find('\n', start);
    if (end == std::string::npos) end = messages.size();
    if (end > start) LogText(LogLevel::Error, "effect", messages.substr(start, end - start));
    start = end + 1;
  }
}

// The compiler's messages, then what the picture falls back to.
void LogCompileFailure(const std::string& path, const std::string& messages) {
  LogCompilerMessages(messages);
  if (path != DUMMY_SHADER_PATH) {
    Log(LogLevel::Warning, "effect", "%s does not build; drawn with %s instead", path.c_str(), DUMMY_SHADER_PATH);
  }
}

std::string StreamText(CoreFileStream& stream) {
  std::string text(static_cast<size_t>(stream.GetSize()), '\0');
  text.resize(static_cast<size_t>(stream.Read(text.data(), text.size())));
  return text;
}

}  // namespace

resShader::~resShader() { Unload(); }

bool resShader::CanLoad(CoreFileStream& stream) {
  return HasExtension(stream, "cg") || HasExtension(stream, "fx") || HasExtension(stream, "cgfx");
}

bool resShader::Load(CoreFileStream& stream) {
  resourceObject::Load(stream);
  auto effect = std::make_unique<cEffect>();
  if (effect->Create(StreamText(stream), GetPath())) {
    mOwnEffect = std::move(effect);
    return true;
  }
  LogCompileFailure(GetPath(), effect->Log());
  Unload();
  if (GetPath() == DUMMY_SHADER_PATH) CoreFatal(CRITICAL_DUMMY_SHADER);
  resourceObject* fallback = gResourceManager.GetResource(DUMMY_SHADER_PATH);
  mFallback = dynamic_cast<resShader*>(fallback);
  if (!mFallback) {
    // Something other than an effect answered for the fallback's path.
    if (fallback) fallback->Release();
    CoreFatal(CRITICAL_DUMMY_SHADER);
  }
  return true;
}

bool resShader::Unload() {
  if (mFallback) {
    resShader* fallback = mFallback;
    mFallback = nullptr;
    fallback->Release();
  }
  mOwnEffect.reset();
  return true;
}

bool resShader::Refresh(CoreFileStream& stream) {
  auto effect = std::make_unique<cEffect>();
  if (!effect->Create(StreamText(stream), GetPath())) {
    LogCompilerMessages(effect->Log());
    Log(LogLevel::Warning, "effect", "%s does not build; the version loaded before stays", GetPath().c_str());
    return false;
  }
  Unload();
  mOwnEffect = std::move(effect);
  return true;
}

void resShader::setParameter(const char* name, const void* values) {
  if (cEffect* effect = getEffect()) effect->setParameter(name, values);
}

void resShader::setStateMatrix(const char* name, int flags) {
  if (cEffect* effect = getEffect()) effect->setStateMatrix(name, flags);
}

void resShader::setPassState(int pass) {
  if (cEffect* effect = getEffect()) effect->setPassState(pass);
}

void resShader::resetPassState(int pass) {
  if (cEffect* effect = getEffect()) effect->resetPassState(pass);
}
