#include "files/tdf_writer.h"

#include <cstdio>

namespace {

// Nine significant digits give every float back bit for bit.
std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value == 0 ? 0.0f : value));
  return text;
}

template <class Field>
bool AnyDiffers(const std::vector<TdfKey>& keys, Field field, float unkeyed) {
  for (const TdfKey& key : keys) {
    for (float value : field(key)) {
      if (value != unkeyed) return true;
    }
  }
  return false;
}

template <class Field>
void WriteBlock(std::string& out, const char* name, const std::vector<TdfKey>& keys, Field field) {
  out += "      ";
  out += name;
  out += " {";
  for (const TdfKey& key : keys) {
    out += " ";  // two blanks between keys keep them apart for the eye
    for (float value : field(key)) out += " " + Number(value);
  }
  out += " }\n";
}

void WritePart(std::string& out, const std::string& name, const std::vector<TdfKey>& keys, bool withAlpha) {
  auto position = [](const TdfKey& key) { return key.position; };
  auto rotation = [](const TdfKey& key) { return key.rotation; };
  auto scale = [](const TdfKey& key) { return key.scale; };
  auto alpha = [](const TdfKey& key) { return std::array<float, 1>{key.alpha}; };
  out += "    Part \"" + name + "\" {\n";
  WriteBlock(out, "Position", keys, position);
  if (AnyDiffers(keys, rotation, 0)) WriteBlock(out, "Rotation", keys, rotation);
  if (AnyDiffers(keys, scale, 1)) WriteBlock(out, "Scale", keys, scale);
  if (withAlpha) WriteBlock(out, "Alpha", keys, alpha);
  out += "    }\n";
}

void WriteObject(std::string& out, const TdfObject& object, bool withAlpha) {
  out += "  Object " + std::to_string(object.modelIndex) + " {\n";
  out += "    CameraTrans " + std::to_string(object.CameraTrans) + "\n";
  out += "    Visible " + std::to_string(object.Visible) + "\n";
  out += "    DataNum " + std::to_string(object.times.size()) + "\n";
  out += "    Time {";
  for (float time : object.times) out += " " + Number(time);
  out += " }\n";
  for (const auto& [name, keys] : object.parts) WritePart(out, name, keys, withAlpha);
  out += "  }\n";
}

}  // namespace

std::string WriteTdfText(const std::string& description, const std::map<int, std::string>& models,
                         const std::vector<TdfWriteScene>& scenes) {
  std::string out = "TScene Demo File\nFormat Text Ver 1.0\n" + description + "\n\nMQO {\n";
  for (const auto& [slot, path] : models) out += "  " + std::to_string(slot) + " \"" + path + "\"\n";
  out += "}\n\n";
  for (const TdfWriteScene& scene : scenes) {
    out += "Scene \"" + scene.name + "\" {\n";
    for (const TdfObject* object : scene.objects) WriteObject(out, *object, scene.withAlpha);
    out += "}\n";
  }
  out += "Eof\n";
  return out;
}
