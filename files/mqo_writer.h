#pragma once
// Writes a Metasequoia text document (Format Text Ver 1.0) that the engine's reader takes back
// as it was: materials, then objects with their vertices and faces.

#include <string>

#include "files/mqo_document.h"

std::string WriteMqoText(const MqoDocument& document);
