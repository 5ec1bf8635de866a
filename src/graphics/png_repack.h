#pragma once

#include <string>
#include <vector>

#include "graphics/picture_format.h"
#include "graphics/picture_state.h"
#include "graphics/png_reader.h"
#include "graphics/sprite_packer.h"
#include "platform/ui.h"

// Packs edited PNGs: a set of sub-image files NAME_00000.PNG, ... or one sheet NAME.PNG.
namespace zorvane::graphics {

// The PNG files of one set, as listed.
struct PngSet {
  const std::vector<std::string>& Files;  // in order; the sheet alone for a sheet
  PictureFormat Format = PictureFormat::Png;
  const std::string& ResolvedFolder;  // the folder as the file system names it, ending in '/'
  const std::string& ShownFolder;     // the folder as messages show it, ending in '/'
};

// Reads every file of the set in order and adds its pictures to `packer` (a sheet's frames in
// the order of its list), each pixel an index of the mapping's palette (see MapPngRegion).
// The first file refused, or a sprite file growing too large, is shown with its message and
// stops the packing; returns whether every picture was added.
bool PackPngSet(const PngSet& set, const PngMapping& mapping, const std::string& spriteFile,
                PixelBuffer& pixels, SpritePacker& packer, platform::Ui& ui);

// "PATH: " + reason + " No SHP file made."
std::string PngRefusedMessage(const std::string& path, const std::string& reason);

}  // namespace zorvane::graphics
