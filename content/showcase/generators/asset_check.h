#pragma once
// Read-back checks of what the generators write, through the engine's own readers: an asset the
// engine would refuse or misread fails the build with a message naming it, instead of reaching the
// pack.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "content/showcase/generators/image_writers.h"
#include "content/showcase/generators/tdf_writer.h"
#include "files/model_data.h"
#include "files/sync_document.h"

// The image's bytes decode with the decoder the engine picks for its extension ("png", "jpg",
// "bmp", "tga") to expected's size; PNG, BMP (alpha as the blue key gives it) and TGA to exactly
// its pixels, JPEG to within maxJpegError on average per channel.
bool CheckPicture(const std::string& name, const std::vector<uint8_t>& bytes, const Rgba8Image& expected,
                  double maxJpegError, std::string& error);
// The Radiance picture decodes to the RGBE bytes of expected.
bool CheckRadiance(const std::string& name, const std::vector<uint8_t>& bytes, const RadianceImage& expected,
                   std::string& error);
// The cube map decodes as a DXT1 cube of six faces whose colours are within maxError on average of
// the faces given.
bool CheckCubeMap(const std::string& name, const std::vector<uint8_t>& bytes, const std::array<Rgba8Image, 6>& faces,
                  double maxError, std::string& error);

// The Metasequoia text parses and converts as `mqo2bmdl` does, into model; every object has faces,
// and every face's normal points to the side its winding says.
bool CheckModel(const std::string& name, const std::string& mqo, ModelData& model, std::string& error);

// The scene animation text parses with these models (by pack path) into what spec describes:
// every scene starts with a camera keyed over a positive length, every part named is an object of
// its model, and every object's flags, times and keys read back as written.
bool CheckSceneAnimation(const std::string& name, const TdfFile& spec, const std::string& text,
                         const std::map<std::string, ModelData>& models, std::string& error);

// The tracks file reads back through the player's reader, with nothing mended, into the tracks
// of expected, key for key.
bool CheckSyncTracks(const std::string& name, const std::string& text, const SyncDocument& expected, std::string& error);

// The definition file parses with the engine's XML reader and its root is named rootName.
bool CheckDefinition(const std::string& name, const std::string& text, const std::string& rootName, std::string& error);
