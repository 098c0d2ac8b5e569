#pragma once
// The glTF parser's header with the options every file of the importer uses: no image decoding
// and no file system of its own (the importer hands it both).

#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_FS
#include <tiny_gltf.h>
