#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "app/browse_model.h"
#include "app/session.h"
#include "graphics/member_view.h"
#include "graphics/palette_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QSplitter;
class QStackedWidget;
class QTimer;

namespace zorvane::qt {

class PaletteGrid;
class PictureView;
class ThumbnailModel;

// The preview of the member chosen in the Browse window: a sprite's or tile's sub-images with
// their palette, zoom and animation; a palette's colours; a text; the first bytes of anything
// else; or, for a member that cannot be read, why.
class PreviewPane : public QWidget {
  Q_OBJECT

 public:
  PreviewPane(app::Session& session, QWidget* parent = nullptr);
  ~PreviewPane() override;

  // Shows the member (nothing for no row).
  void Show(const std::optional<app::BrowseRow>& row);
  const std::optional<app::BrowseRow>& Shown() const { return row_; }

  // Sub-images: the one shown, how many, and moving between them.
  int Frame() const { return frame_; }
  int FrameCount() const;
  void ShowFrame(int frame);
  void SetPalette(graphics::PaletteId palette);
  graphics::PaletteId Palette() const { return palette_; }
  void ZoomBy(int step);
  void ZoomToFit();
  void SetPlaying(bool playing);
  bool Playing() const;

  const PictureView& Picture() const { return *picture_; }
  // Writes the shown sub-image as a PNG at the zoom shown, its palette kept; says why not
  // through the session's Ui.
  void ExportPng(const std::string& path);
  // The name an exported picture is offered under: NAME_00003.PNG.
  QString ExportName() const;

  QSplitter* Splitter() const { return splitter_; }

 private:
  void BuildPicturePage();
  void ShowMessage(const QString& text);
  void ShowSprite(const graphics::MemberLocation& location);
  void ShowPaletteMember(const graphics::MemberLocation& location);
  void ShowBytes(const graphics::MemberLocation& location, bool asText);
  void Redraw();

  app::Session& session_;
  // The palettes as the member was chosen: painting never reads the session's, which a command
  // running off the window's thread may be changing.
  graphics::PaletteState palettes_;
  std::optional<app::BrowseRow> row_;
  std::unique_ptr<graphics::SpriteView> sprite_;
  int frame_ = 0;
  graphics::PaletteId palette_ = graphics::PaletteId::Day;

  QStackedWidget* pages_ = nullptr;
  QLabel* message_ = nullptr;
  QPlainTextEdit* text_ = nullptr;
  PaletteGrid* grid_ = nullptr;
  QLabel* pointed_ = nullptr;
  QWidget* picturePage_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QComboBox* paletteBox_ = nullptr;
  QSpinBox* zoomBox_ = nullptr;
  QCheckBox* checkerboard_ = nullptr;
  QPushButton* play_ = nullptr;
  QSpinBox* rate_ = nullptr;
  QSlider* slider_ = nullptr;
  QSpinBox* frameBox_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  PictureView* picture_ = nullptr;
  QLabel* info_ = nullptr;
  QListView* strip_ = nullptr;
  ThumbnailModel* thumbnails_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace zorvane::qt
