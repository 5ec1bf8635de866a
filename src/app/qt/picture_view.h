#pragma once

#include <QImage>
#include <QWidget>

#include "graphics/rendering.h"

namespace zorvane::qt {

// A rendered picture as an indexed image: its palette as the colour table, and index 213
// fully transparent when the picture uses transparency and `transparentShown` is set.
QImage IndexedImage(const graphics::RenderedPicture& picture, bool transparentShown);

// A picture enlarged by a whole factor, pixel for pixel, its transparent pixels over a
// checkerboard.
class PictureView : public QWidget {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent = nullptr);

  // The picture at zoom 1.
  void SetPicture(QImage picture);
  const QImage& Picture() const { return picture_; }
  void SetZoom(int zoom);
  int Zoom() const { return zoom_; }
  // The largest zoom at which the picture fits `area`, at least 1.
  int FitZoom(const QSize& area) const;

  QSize sizeHint() const override;

 signals:
  // Ctrl and the mouse wheel: +1 or -1.
  void ZoomStep(int step);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QImage picture_;
  int zoom_ = 1;
};

}  // namespace zorvane::qt
