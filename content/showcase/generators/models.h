#pragma once
// The showcase's model generators. Each returns a mesh ready to be written as a Metasequoia
// document; its materials name the effects they are drawn with.

#include <string>

#include "content/showcase/generators/mesh.h"

struct TextAtlas;

inline constexpr int TUNNEL_RINGS = 64;
inline constexpr double TUNNEL_RING_SPACING = 2.0;  // rings run from z = 0 towards -z
inline constexpr double TUNNEL_RADIUS = 3.0;

inline constexpr int TITLE_TILES_ACROSS = 16;
inline constexpr int TITLE_TILES_DOWN = 4;
inline constexpr double TITLE_WIDTH = 8.0;  // the title's panel, centred on the origin in z = 0
inline constexpr double TITLE_HEIGHT = 2.0;

// "t00" .. "t63": the title tile at column, row (row 0 at the top).
std::string TitleTileName(int column, int row);

// Rings of steel with glowing strips along a tube of lattice panels, along -z.
Mesh TunnelModel();
// A (2, 3) torus knot tube drawn as glass.
Mesh KnotModel();
// The landscape around the city, its texture spanning it; drawn solid or as a wireframe.
Mesh TerrainModel(const std::string& effect);
// The city's boxes, faceted, with the window texture.
Mesh CityModel();
// The title as tiles, each an object with its pivot at its centre.
Mesh TitleModel();
// One panel per line of the text atlas, each centred on the origin with its pivot there, one unit
// high.
Mesh TextModel(const TextAtlas& atlas);
// One crystal shard, about one unit long.
Mesh ShardModel();
// The object whose keys steer a swarm ("swarm"): one tiny triangle, never shown.
Mesh SwarmControlModel();
// A sphere seen from inside, the sky's dome.
Mesh SkyModel();
// A wide disc of floor under the swarm.
Mesh StageModel();
