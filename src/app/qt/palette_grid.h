#pragma once

#include <QWidget>
#include <optional>

#include "graphics/palette.h"

namespace zorvane::qt {

// The 256 colours of a palette as 16 x 16 squares, index 0 at the top left; pointing at one
// says its index and colour.
class PaletteGrid : public QWidget {
  Q_OBJECT

 public:
  explicit PaletteGrid(QWidget* parent = nullptr);
  // `marked`: the entry drawn crossed, as the transparent one.
  void SetPalette(const graphics::Palette& palette, std::optional<int> marked);
  // "Index 12: 255, 128, 0" (red, green, blue) for the entry under `point`, or empty.
  QString DescriptionAt(const QPoint& point) const;

  QSize sizeHint() const override;

 signals:
  void Pointed(const QString& description);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  int Square() const;
  graphics::Palette palette_{};
  std::optional<int> marked_;
};

}  // namespace zorvane::qt
