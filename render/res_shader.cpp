#include "render/res_shader.h"

#include <string>

#include "core/critical.h"
#include "files/core_file_stream.h"
#include "files/resource_manager.h"
#include "render/shader_manager.h"

CORE_IMPLEMENT_DYNAMIC(resShader, resourceObject)

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
  gShaderManager.AppendCompileLog(mOwnEffect.Log());
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
