#pragma once
// The showcase's sky at dusk, one function of direction: a deep blue zenith over a warm horizon,
// a low sun with its glow, a band of lit clouds, stars above and dark ground below. The Radiance
// picture (the sky dome) and the cube map (what glass reflects) are both made from it, so
// reflections match the sky.

#include <array>

#include "content/showcase/generators/image_writers.h"
#include "content/showcase/generators/vec3.h"

// Towards the sun, in drawing space (+y up).
Vec3 SunDirection();

// Linear radiance seen looking along direction (unit length).
Vec3 SkyRadiance(Vec3 direction);

// The sky as a latitude-longitude picture: the middle column looks along -z, three quarters across
// along +x, the edges along +z; row 0 looks straight up. The sky effect looks it up the same way.
RadianceImage SkyPicture(int width, int height);

// The six faces of a cube map of the sky (+X, -X, +Y, -Y, +Z, -Z, texel rows as the GL cube map
// addresses them), tone-mapped into 8 bits with gamma 2.2 at the given exposure.
std::array<Rgba8Image, 6> SkyCubeFaces(int side, double exposure);
