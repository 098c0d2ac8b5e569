#pragma once
// A post-effect entry written as the definition XML it is read from: what an author tunes in the
// developer mode, to paste into "postEffectDefine.xml", and the entries the showcase generates.

#include <string>

#include "files/xml_writing.h"
#include "resources/post_effect_entry.h"

namespace resources {

// One "PostEffectEntry" element with its "SourceLineEntry" and "ConstantEntry" children, indented
// by two spaces per level from indent, lines ending in "\n".
std::string PostEffectEntryXml(const PostEffectEntry& entry, int indent = 1);

}  // namespace resources
