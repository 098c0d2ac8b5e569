#include "content/showcase/generators/tdf_writer.h"

#include <cstdio>

#include "content/showcase/generators/number_text.h"

namespace {

constexpr double PI = 3.141592653589793;
// Keys per line in a block, to keep lines readable.
constexpr size_t KEYS_PER_LINE = 4;

template <typename Value>
void WriteBlock(std::string& out, const char* keyword, const std::vector<PartKey>& keys, Value value) {
  out += "      ";
  out += keyword;
  out += " {";
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i > 0 && i % KEYS_PER_LINE == 0) out += "\n       ";
    out += " " + value(keys[i]);
  }
  out += " }\n";
}

std::string Triple(double x, double y, double z) { return NumberText(x) + " " + NumberText(y) + " " + NumberText(z) + " "; }

void WriteObject(std::string& out, const ObjectTrack& object) {
  out += "  Object " + std::to_string(object.slot) + " {\n";
  out += "    CameraTrans " + std::string(object.followsCamera ? "1" : "0") + "\n";
  out += "    Visible " + std::string(object.visible ? "1" : "0") + "\n";
  out += "    DataNum " + std::to_string(object.times.size()) + "\n";
  out += "    Time {";
  for (size_t i = 0; i < object.times.size(); ++i) {
    if (i > 0 && i % 12 == 0) out += "\n     ";
    out += " " + NumberText(object.times[i]);
  }
  out += " }\n";
  for (const PartTrack& part : object.parts) {
    out += "    Part \"" + part.name + "\" {\n";
    if (part.position) {
      WriteBlock(out, "Position", part.keys, [](const PartKey& k) { return Triple(k.position.x, k.position.y, -k.position.z); });
    }
    if (part.rotation) {
      WriteBlock(out, "Rotation", part.keys, [](const PartKey& k) { return Triple(-k.rotation.x, -k.rotation.y, k.rotation.z); });
    }
    if (part.scale) {
      WriteBlock(out, "Scale", part.keys, [](const PartKey& k) { return Triple(k.scale.x, k.scale.y, k.scale.z); });
    }
    if (part.alpha) {
      WriteBlock(out, "Alpha", part.keys, [](const PartKey& k) { return NumberText(k.alpha) + " "; });
    }
    out += "    }\n";
  }
  out += "  }\n";
}

}  // namespace

ObjectTrack CameraTrack(const std::vector<double>& times, const std::vector<CameraKey>& keys) {
  ObjectTrack camera;
  camera.times = times;
  PartTrack eye{"camera_pos", {}, true, true, false, false};
  PartTrack target{"camera_lookat", {}, true, false, false, false};
  for (const CameraKey& key : keys) {
    PartKey eyeKey;
    eyeKey.position = key.eye;
    // The file widens the field of view by the y rotation and rolls by the z rotation; the writer
    // negates y, so it is given negated here to arrive as written.
    eyeKey.rotation = {0.0, -(key.fieldOfView - 30.0) * PI / 180.0, key.roll};
    eye.keys.push_back(eyeKey);
    PartKey targetKey;
    targetKey.position = key.target;
    target.keys.push_back(targetKey);
  }
  camera.parts = {eye, target};
  return camera;
}

ObjectTrack StillObject(int slot, const std::string& part) {
  ObjectTrack object;
  object.slot = slot;
  object.times = {0.0};
  object.parts = {PartTrack{part, {PartKey{}}, true, false, false, false}};
  return object;
}

std::string WriteTdf(const TdfFile& file) {
  std::string out = "TScene Demo File\nFormat Text Ver 1.0\n" + file.title + "\n\nMQO {\n";
  for (const auto& [slot, path] : file.models) out += "  " + std::to_string(slot) + " \"" + path + "\"\n";
  out += "}\n";
  for (const SceneTrack& scene : file.scenes) {
    out += "\nScene \"" + scene.name + "\" {\n";
    for (const ObjectTrack& object : scene.objects) WriteObject(out, object);
    out += "}\n";
  }
  out += "Eof\n";
  return out;
}
