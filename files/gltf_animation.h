#pragma once
// A glTF animation evaluated as glTF defines it: STEP, LINEAR (spherical for rotations) and
// CUBICSPLINE samplers, held at their ends, giving every node's world matrix at a time.

#include <vector>

#include "files/gltf_document.h"

class GltfPose {
 public:
  // animation may be null: the scene at rest.
  GltfPose(const GltfDocument& document, const GltfAnimation* animation);

  // The time of the animation's last key (0 at rest).
  double Duration() const { return mDuration; }
  // Key times of the channels that move node or one of its ancestors.
  std::vector<double> KeyTimesOf(int node) const { return TimesOf(node, false); }
  // Times where a STEP channel that moves node jumps.
  std::vector<double> StepTimesOf(int node) const { return TimesOf(node, true); }
  // World matrices of every node of the document at time.
  std::vector<GltfMat4> WorldMatrices(double time) const;

 private:
  struct NodeChannels {
    const GltfChannel* translation = nullptr;
    const GltfChannel* rotation = nullptr;
    const GltfChannel* scale = nullptr;
  };

  GltfTransform LocalTransform(size_t node, double time) const;
  std::vector<double> TimesOf(int node, bool stepsOnly) const;

  const GltfDocument& mDocument;
  std::vector<NodeChannels> mChannels;
  double mDuration = 0;
};

// The value of a channel at time: 3 numbers, or 4 for a rotation.
std::vector<double> SampleChannel(const GltfChannel& channel, double time);
