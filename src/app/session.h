#pragma once

#include <optional>
#include <string>
#include <vector>
#include <utility>

#include "app/about.h"
#include "app/browse_layout.h"
#include "app/how_to.h"
#include "app/main_window_model.h"
#include "archive/index_tables.h"
#include "archive/sprite_insertion.h"
#include "graphics/extraction_context.h"
#include "graphics/palette_state.h"
#include "graphics/picture_state.h"
#include "graphics/repack_context.h"
#include "platform/ui.h"
#include "unitdesc/unit_extracts.h"

namespace zorvane::app {

// All state of one run of the program. Every worker gets the parts it reads and writes; two
// sessions share nothing.
struct Session {
  // The settings file is kept in the program folder, unless a folder of its own is given (an
  // installed program keeps it in the user's configuration folder).
  Session(platform::Ui& ui, std::string programFolderSource, std::string settingsFolderSource = {})
      : Ui(ui),
        ProgramFolderSource(std::move(programFolderSource)),
        SettingsFolderSource(std::move(settingsFolderSource)) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  platform::Ui& Ui;
  // The folder the program runs from, as the front end found it (before trimming).
  std::string ProgramFolderSource;
  std::string SettingsFolderSource;  // empty: the program folder

  // Settings.
  std::string ProgramFolder;   // the internal palettes; ends in the separator
  std::string SettingsFolder;  // Zorvane.ini; ends in the separator
  std::string DataFolder;     // the game's DATA folder; ends in the separator when chosen
  bool SettingsFound = false;
  std::string SettingsLine;
  // The DATA folders used last, the latest first (at most kMostRecentInstallations).
  std::vector<std::string> RecentInstallations;
  // The Browse window's size and panes, from the settings file or as last closed.
  std::optional<app::BrowseLayout> BrowseLayout;

  archive::IndexTables Index;
  MainWindowModel Window;
  HowToWindowModel HowTo;
  AboutWindowModel About;

  // How the last Insert SHP file command ended; empty until one ran.
  std::optional<archive::InsertionOutcome> LastInsertion;

  // Graphics: the palette tables, the picture of the next BMP, the last extraction.
  graphics::PaletteState Palettes;
  graphics::PictureState Picture;
  graphics::ExtractionContext Extraction;
  // Where BMP sets are packed, and how the last packing ended.
  graphics::RepackContext Repack;
  // The extracts chosen for the last unit-description insertion.
  unitdesc::UnitExtracts UnitExtracts;

  // Set when the user chose to end the program.
  bool Terminated = false;
};

}  // namespace zorvane::app
