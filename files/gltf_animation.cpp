#include "files/gltf_animation.h"

#include <algorithm>

namespace {

size_t WidthOf(const GltfChannel& channel) { return channel.path == GltfPath::Rotation ? 4 : 3; }

// The key's value (for cubic splines the middle of its three entries).
std::vector<double> ValueAt(const GltfChannel& channel, size_t key, size_t entry) {
  size_t width = WidthOf(channel);
  size_t perKey = channel.interpolation == GltfInterpolation::CubicSpline ? 3 : 1;
  size_t first = (key * perKey + entry) * width;
  return std::vector<double>(channel.values.begin() + static_cast<std::ptrdiff_t>(first),
                             channel.values.begin() + static_cast<std::ptrdiff_t>(first + width));
}

std::vector<double> KeyValue(const GltfChannel& channel, size_t key) {
  return ValueAt(channel, key, channel.interpolation == GltfInterpolation::CubicSpline ? 1 : 0);
}

std::vector<double> Hermite(const GltfChannel& channel, size_t k, double s, double span) {
  std::vector<double> v0 = ValueAt(channel, k, 1), b0 = ValueAt(channel, k, 2);
  std::vector<double> v1 = ValueAt(channel, k + 1, 1), a1 = ValueAt(channel, k + 1, 0);
  double s2 = s * s, s3 = s2 * s;
  std::vector<double> result(v0.size());
  for (size_t i = 0; i < result.size(); ++i) {
    result[i] = (2 * s3 - 3 * s2 + 1) * v0[i] + (s3 - 2 * s2 + s) * span * b0[i] + (-2 * s3 + 3 * s2) * v1[i] +
                (s3 - s2) * span * a1[i];
  }
  return result;
}

std::vector<double> Blend(const GltfChannel& channel, size_t k, double s) {
  std::vector<double> a = KeyValue(channel, k), b = KeyValue(channel, k + 1);
  if (channel.path == GltfPath::Rotation) {
    GltfQuat q = Slerp(NormalizedQuat({a[0], a[1], a[2], a[3]}), NormalizedQuat({b[0], b[1], b[2], b[3]}), s);
    return {q[0], q[1], q[2], q[3]};
  }
  for (size_t i = 0; i < a.size(); ++i) a[i] = a[i] * (1 - s) + b[i] * s;
  return a;
}

void CollectTimes(const GltfChannel* channel, bool stepsOnly, std::vector<double>& times) {
  if (!channel || (stepsOnly && channel->interpolation != GltfInterpolation::Step)) return;
  times.insert(times.end(), channel->times.begin(), channel->times.end());
}

}  // namespace

std::vector<double> SampleChannel(const GltfChannel& channel, double time) {
  const std::vector<float>& times = channel.times;
  size_t n = times.size();
  if (n == 0) return std::vector<double>(WidthOf(channel), 0.0);
  if (time <= times.front()) return KeyValue(channel, 0);
  if (time >= times.back()) return KeyValue(channel, n - 1);
  size_t k = static_cast<size_t>(std::upper_bound(times.begin(), times.end(), static_cast<float>(time)) - times.begin());
  k = std::clamp<size_t>(k, 1, n - 1) - 1;
  while (k + 2 < n && time >= times[k + 1]) ++k;
  double span = static_cast<double>(times[k + 1]) - times[k];
  double s = span > 0 ? (time - times[k]) / span : 1;
  switch (channel.interpolation) {
    case GltfInterpolation::Step: return KeyValue(channel, s >= 1 ? k + 1 : k);
    case GltfInterpolation::CubicSpline: return Hermite(channel, k, s, span);
    default: return Blend(channel, k, s);
  }
}

GltfPose::GltfPose(const GltfDocument& document, const GltfAnimation* animation)
    : mDocument(document), mChannels(document.nodes.size()) {
  if (!animation) return;
  for (const GltfChannel& channel : animation->channels) {
    if (channel.node < 0 || static_cast<size_t>(channel.node) >= mChannels.size()) continue;
    NodeChannels& slots = mChannels[static_cast<size_t>(channel.node)];
    if (channel.path == GltfPath::Translation) slots.translation = &channel;
    if (channel.path == GltfPath::Rotation) slots.rotation = &channel;
    if (channel.path == GltfPath::Scale) slots.scale = &channel;
    if (!channel.times.empty()) mDuration = std::max(mDuration, static_cast<double>(channel.times.back()));
  }
}

GltfTransform GltfPose::LocalTransform(size_t node, double time) const {
  GltfTransform transform = mDocument.nodes[node].rest;
  const NodeChannels& slots = mChannels[node];
  if (slots.translation) {
    std::vector<double> v = SampleChannel(*slots.translation, time);
    transform.translation = {v[0], v[1], v[2]};
  }
  if (slots.rotation) {
    std::vector<double> v = SampleChannel(*slots.rotation, time);
    transform.rotation = NormalizedQuat({v[0], v[1], v[2], v[3]});
  }
  if (slots.scale) {
    std::vector<double> v = SampleChannel(*slots.scale, time);
    transform.scale = {v[0], v[1], v[2]};
  }
  return transform;
}

std::vector<GltfMat4> GltfPose::WorldMatrices(double time) const {
  std::vector<GltfMat4> world(mDocument.nodes.size());
  for (size_t i = 0; i < world.size(); ++i) {
    GltfMat4 local = ComposeMatrix(LocalTransform(i, time));
    int parent = mDocument.nodes[i].parent;
    world[i] = parent >= 0 ? Multiply(world[static_cast<size_t>(parent)], local) : local;
  }
  return world;
}

std::vector<double> GltfPose::TimesOf(int node, bool stepsOnly) const {
  std::vector<double> times;
  for (int at = node; at >= 0; at = mDocument.nodes[static_cast<size_t>(at)].parent) {
    const NodeChannels& slots = mChannels[static_cast<size_t>(at)];
    for (const GltfChannel* channel : {slots.translation, slots.rotation, slots.scale}) CollectTimes(channel, stepsOnly, times);
  }
  return times;
}
