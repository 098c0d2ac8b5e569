#pragma once
// A post-effect entry written back as the definition XML it would be read from, so that what an
// author tunes in the developer mode can be pasted into "postEffectDefine.xml".

#include <string>

#include "files/xml_writing.h"
#include "resources/post_effect_entry.h"

// One "PostEffectEntry" element with its "SourceLineEntry" and "ConstantEntry" children, indented
// by two spaces per level from indent, lines ending in "\n".
std::string PostEffectEntryXml(const PostEffectEntry& entry, int indent = 1);
