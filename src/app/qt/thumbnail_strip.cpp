#include "thumbnail_strip.h"

#include "graphics/rendering.h"
#include "picture_view.h"

namespace zorvane::qt {

void ThumbnailModel::Show(const graphics::SpriteView* sprite,
                          const graphics::PaletteState* palettes, graphics::PaletteId palette) {
  beginResetModel();
  sprite_ = sprite;
  palettes_ = palettes;
  palette_ = palette;
  made_.clear();
  endResetModel();
}

int ThumbnailModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || sprite_ == nullptr ? 0 : sprite_->SubImageCount();
}

QVariant ThumbnailModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || sprite_ == nullptr) return {};
  if (role == Qt::DisplayRole) return index.row();
  if (role == Qt::DecorationRole) return Thumbnail(index.row());
  return {};
}

QPixmap ThumbnailModel::Thumbnail(int index) const {
  if (const auto made = made_.constFind(index); made != made_.constEnd()) return *made;
  QPixmap thumbnail(kSide, kSide);
  thumbnail.fill(Qt::transparent);
  const auto shown = sprite_->Decode(index, graphics::ShowsTransparency(palette_));
  if (shown) {
    const QImage picture =
        IndexedImage(graphics::RenderPicture(shown.Value().Pixels, *palettes_, palette_, 1), true);
    if (!picture.isNull()) {
      thumbnail = QPixmap::fromImage(
          picture.scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::FastTransformation));
    }
  }
  made_.insert(index, thumbnail);
  return thumbnail;
}

}  // namespace zorvane::qt
