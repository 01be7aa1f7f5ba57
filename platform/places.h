// Inside the platform layer: the disk path behind one of the game's relative
// names (see FindFilePlaces). Only platform/ includes this file.
#pragma once

#include <string>
#include <vector>

namespace plat {

// The file to read for a name: the player's copy of a campaign file when
// there is one, else the shipped one; unchanged when portable.
std::string place_for_reading(const std::string& path);
// The file to write for a name, with its folders made.
std::string place_for_writing(const std::string& path);
// Installed, the entries of "campaigns" (or a folder in it) from both places:
// shipped ones first, then the player's, each group in byte order. False when
// the plain listing applies.
bool merged_listing(const std::string& path, std::vector<std::string>& names);

}  // namespace plat
