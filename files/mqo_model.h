#pragma once
// Turns a Metasequoia document into the model the cache stores (see docs/models.md for the
// mapping authors rely on).

#include <string>

#include "files/model_data.h"
#include "files/mqo_document.h"

// Default pack folder of a model's textures when the output path does not show one.
inline constexpr char MQO_DEFAULT_PACK_DIRECTORY[] = "data\\model\\";
// Folder of effects named by a material's "@name" suffix.
inline constexpr char MQO_EFFECT_DIRECTORY[] = "data\\shader\\";

// The pack path of a texture written as text in a document stored in packDirectory (a pack path
// ending in "\"): pack paths ("data\...") stay, absolute paths keep their file name, relative
// paths are resolved against packDirectory; "/" becomes "\".
std::string MqoTexturePath(const std::string& text, const std::string& packDirectory);

// The effect a material names with a suffix "@NAME" ("data\shader\NAME.cgfx") or "@PATH" (a path
// with a separator, used as is); empty (the default effect) without one.
std::string MqoEffectPath(const std::string& materialName);

// Builds model from document: visible objects in order with their depth, facet, scale and
// faces (triangles; larger polygons as fans; lines kept), mirrored halves made real, objects
// named ">NAME" as named points, materials with their paths. False with a reason in error (and
// the face's line in errorLine when given) when a face names a vertex the object does not have.
bool ConvertMqo(const MqoDocument& document, const std::string& packDirectory, ModelData& model, std::string& error,
                int* errorLine = nullptr);
