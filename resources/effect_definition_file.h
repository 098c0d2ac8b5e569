#pragma once
// Opening the definition files of post-effects and custom textures: the whole entry parsed as a
// definition XML, accepted when its root's "name" begins with the definition's name.

#include "files/xml_element.h"

// The root of the definition file at path, or the empty handle when it does not parse (the
// reader has shown why) or its "name" does not begin with name (compared exactly).
XmlElement OpenDefinitionRoot(const char* path, const char* name);
