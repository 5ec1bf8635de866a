#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QPixmap>

#include "graphics/member_view.h"
#include "graphics/palette_state.h"

namespace zorvane::qt {

// The sub-images of a sprite file as small pictures, each decoded when the strip first shows
// it.
class ThumbnailModel : public QAbstractListModel {
  Q_OBJECT

 public:
  static constexpr int kSide = 48;

  using QAbstractListModel::QAbstractListModel;
  // `sprite` and `palettes` must outlive the model's use of them; nullptr empties the strip.
  void Show(const graphics::SpriteView* sprite, const graphics::PaletteState* palettes,
            graphics::PaletteId palette);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  QPixmap Thumbnail(int index) const;

  const graphics::SpriteView* sprite_ = nullptr;
  const graphics::PaletteState* palettes_ = nullptr;
  graphics::PaletteId palette_ = graphics::PaletteId::Day;
  mutable QHash<int, QPixmap> made_;
};

}  // namespace zorvane::qt
