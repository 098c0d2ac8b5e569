#include "files/gltf_import.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "files/gltf_animation.h"
#include "files/gltf_keys.h"
#include "files/gltf_model.h"
#include "files/model_data.h"
#include "files/mqo_model.h"
#include "files/mqo_writer.h"
#include "files/tdf_document.h"
#include "files/tdf_writer.h"

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double FRAMES_PER_SECOND = 60;
constexpr double SMALLEST_SCENE = 1e-3;
// The engine's scene classes take scenes by the start of their names.
const char* const SCENE_CLASS_PREFIXES[] = {"loader", "swarm"};

// Without a name, every animation plays at once: Blender exports each object's action as an
// animation of its own, and the author saw them all move together. A node's path moved by two
// animations keeps the first.
bool ChooseAnimation(const GltfDocument& document, const std::string& wanted, GltfAnimation& chosen, bool& any,
                     std::vector<std::string>& warnings, std::string& error) {
  any = false;
  std::set<std::pair<int, GltfPath>> moved;
  for (const GltfAnimation& animation : document.animations) {
    if (!wanted.empty() && animation.name != wanted) continue;
    any = true;
    for (const GltfChannel& channel : animation.channels) {
      if (moved.insert({channel.node, channel.path}).second) {
        chosen.channels.push_back(channel);
      } else {
        warnings.push_back("animation \"" + animation.name + "\" moves node \"" +
                           document.nodes[static_cast<size_t>(channel.node)].name +
                           "\" as an earlier animation does; the earlier one is kept (choose one with --animation)");
      }
    }
    chosen.name = animation.name;
  }
  if (!wanted.empty() && !any) error = "no animation is named \"" + wanted + "\"";
  return wanted.empty() || any;
}

bool ChooseCamera(const GltfDocument& document, const std::string& wanted, GltfCameraChoice& choice,
                  std::vector<std::string>& warnings, std::string& error) {
  for (size_t i = 0; i < document.nodes.size() && choice.node < 0; ++i) {
    const GltfNode& node = document.nodes[i];
    if (node.camera < 0) continue;
    const GltfCamera& camera = document.cameras[static_cast<size_t>(node.camera)];
    if (!wanted.empty() && node.name != wanted && camera.name != wanted) continue;
    if (!camera.perspective) {
      error = "camera \"" + node.name + "\" is orthographic; only perspective cameras are imported";
      return false;
    }
    if (!(camera.yfov > 0.01 && camera.yfov < 3.1)) {
      error = "camera \"" + node.name + "\" has a field of view of " + std::to_string(camera.yfov) + " radians";
      return false;
    }
    choice.node = static_cast<int>(i);
    choice.yfov = camera.yfov;
    if (camera.aspectRatio > 0 && std::fabs(camera.aspectRatio - 16.0 / 9.0) > 0.01) {
      warnings.push_back("camera \"" + node.name + "\" has the aspect ratio " + std::to_string(camera.aspectRatio) +
                         "; the engine shows its vertical field of view at 16:9");
    }
  }
  if (choice.node >= 0) return true;
  error = wanted.empty() ? "the scene has no camera (add one, and export with cameras included)"
                         : "the scene has no camera named \"" + wanted + "\"";
  return false;
}

double SceneSize(const GltfDocument& document, const std::vector<GltfModelPart>& parts, const GltfPose& pose) {
  std::vector<GltfMat4> world = pose.WorldMatrices(0);
  GltfVec3 low{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  GltfVec3 high = Scaled(low, -1);
  for (const GltfModelPart& part : parts) {
    const GltfNode& node = document.nodes[static_cast<size_t>(part.node)];
    const std::vector<float>& positions = document.meshes[static_cast<size_t>(node.mesh)].positions;
    for (size_t v = 0; v + 2 < positions.size(); v += 3) {
      GltfVec3 p = TransformPoint(world[static_cast<size_t>(part.node)], {positions[v], positions[v + 1], positions[v + 2]});
      for (int i = 0; i < 3; ++i) {
        low[i] = std::min(low[i], p[i]);
        high[i] = std::max(high[i], p[i]);
      }
    }
  }
  return std::max(SMALLEST_SCENE, Length(Subtract(high, low)));
}

std::string SceneNameOf(const std::string& name) {
  for (const char* prefix : SCENE_CLASS_PREFIXES) {
    if (name.rfind(prefix, 0) == 0) return "scene_" + name;
  }
  return name;
}

// Reads the written texts back as the engine does and measures them at every frame.
bool Measure(const GltfPose& pose, const std::vector<GltfModelPart>& parts, int cameraNode,
             GltfImport& out, std::string& error) {
  MqoDocument mqo;
  ModelData model;
  if (!ParseMqo(reinterpret_cast<const uint8_t*>(out.mqoText.data()), out.mqoText.size(), mqo, error) ||
      !ConvertMqo(mqo, MQO_DEFAULT_PACK_DIRECTORY, model, error)) {
    error = "the written model does not read back: " + error;
    return false;
  }
  TdfDocument tdf;
  tdf.ParseTdfText(out.tdfText, [&model](int32_t, const std::string&) { return &model; });
  if (tdf.GetSceneCount() != 1 || tdf.GetScene(0).objects.size() != 2) {
    error = "the written scene animation does not read back";
    return false;
  }
  const TdfObject& camera = tdf.GetScene(0).objects[0];
  const TdfObject& object = tdf.GetScene(0).objects[1];
  for (double frame = 0; frame / FRAMES_PER_SECOND <= pose.Duration(); ++frame) {
    double time = frame / FRAMES_PER_SECOND;
    std::vector<GltfMat4> world = pose.WorldMatrices(time);
    CameraMiss cameraMiss = MissOfCamera(camera, time, world[static_cast<size_t>(cameraNode)]);
    out.worstPositionMiss = std::max(out.worstPositionMiss, cameraMiss.eye);
    out.worstRotationMissDegrees = std::max(out.worstRotationMissDegrees, cameraMiss.angle * 180 / PI);
    for (const GltfModelPart& part : parts) {
      TdfKey key = object.GetKey(part.name, static_cast<float>(time));
      PartMiss miss = MissOfPart(key, Decompose(world[static_cast<size_t>(part.node)]));
      out.worstPositionMiss = std::max(out.worstPositionMiss, miss.position);
      out.worstRotationMissDegrees = std::max(out.worstRotationMissDegrees, miss.angle * 180 / PI);
    }
  }
  return true;
}

void Count(const GltfModel& model, const GltfSceneKeys& keys, GltfImport& out) {
  out.parts = model.parts.size();
  for (const MqoObject& object : model.document.objects) {
    out.vertices += object.vertices.size() / 3;
    out.triangles += object.faces.size();
  }
  out.modelKeys = keys.model.times.size();
  out.cameraKeys = keys.camera.times.size();
}

}  // namespace

std::string SafeName(const std::string& name, const std::string& fallback) {
  std::string safe;
  for (char c : name) {
    bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
    safe += allowed ? c : '_';
  }
  if (safe.empty() || safe.front() == '.') safe = fallback + safe;
  return safe;
}

bool ImportGltf(const GltfDocument& document, const GltfImportOptions& options, GltfImport& out, std::string& error) {
  out = GltfImport{};
  out.warnings = document.warnings;
  out.modelName = SafeName(options.name, "scene");
  GltfModel model;
  GltfAnimation animation;
  bool animated = false;
  GltfCameraChoice camera;
  if (!BuildGltfModel(document, out.modelName, model, out.warnings, error) ||
      !ChooseAnimation(document, options.animation, animation, animated, out.warnings, error) ||
      !ChooseCamera(document, options.camera, camera, out.warnings, error)) {
    return false;
  }
  out.animationName = options.animation.empty() ? out.modelName : SafeName(animation.name, "animation");
  GltfPose pose(document, animated ? &animation : nullptr);
  out.duration = pose.Duration();
  out.sceneSize = SceneSize(document, model.parts, pose);
  GltfKeyTolerance tolerance{IMPORT_POSITION_TOLERANCE * out.sceneSize, IMPORT_ROTATION_TOLERANCE_DEGREES * PI / 180};
  GltfSceneKeys keys;
  FitSceneKeys(pose, model.parts, camera, out.sceneSize, tolerance, keys, out.warnings);
  out.mqoText = WriteMqoText(model.document);
  TdfWriteScene scene{SceneNameOf(out.animationName), {&keys.camera, &keys.model}, false};
  out.tdfText = WriteTdfText("Imported from glTF", {{0, "data\\model\\" + out.modelName + ".mqo"}}, {scene});
  out.textures = std::move(model.textures);
  Count(model, keys, out);
  return Measure(pose, model.parts, camera.node, out, error);
}
