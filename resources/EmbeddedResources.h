#pragma once
#include <string_view>

// The English resource texts (all files of resources/english, in name order),
// built into the program. Parsed by CResourceModule like a language module.
std::string_view EmbeddedEnglishResources();
