#pragma once

#include <string>

// Texts of TXT.PFP: plain CR LF text in the style of a strategy game.
namespace zorvane::sample {

// A text member shown before the unit descriptions ("STRINGS", "TERRAIN", "HELP").
std::string TextMember(const std::string& name);

// The description of unit `number`: a few CR LF lines, the last one ended too.
std::string UnitDescription(int number);

}  // namespace zorvane::sample
