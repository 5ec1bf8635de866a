#include "palette_grid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace zorvane::qt {

namespace {

constexpr int kSide = 16;

}  // namespace

PaletteGrid::PaletteGrid(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PaletteGrid"));
  setMouseTracking(true);
}

void PaletteGrid::SetPalette(const graphics::Palette& palette, std::optional<int> marked) {
  palette_ = palette;
  marked_ = marked;
  update();
}

int PaletteGrid::Square() const {
  return std::max(4, std::min(width(), height()) / kSide);
}

QString PaletteGrid::DescriptionAt(const QPoint& point) const {
  const int square = Square();
  const int column = point.x() / square;
  const int row = point.y() / square;
  if (point.x() < 0 || point.y() < 0 || column >= kSide || row >= kSide) return {};
  const int index = row * kSide + column;
  const graphics::PaletteEntry& entry = palette_[static_cast<std::size_t>(index)];
  QString text = QStringLiteral("Index %1: %2, %3, %4")
                     .arg(index)
                     .arg(entry.Red)
                     .arg(entry.Green)
                     .arg(entry.Blue);
  if (marked_ == index) text += QStringLiteral(" (transparent)");
  return text;
}

QSize PaletteGrid::sizeHint() const {
  return {kSide * 20, kSide * 20};
}

void PaletteGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int square = Square();
  for (int index = 0; index < kSide * kSide; ++index) {
    const graphics::PaletteEntry& entry = palette_[static_cast<std::size_t>(index)];
    const QRect cell((index % kSide) * square, (index / kSide) * square, square, square);
    painter.fillRect(cell, QColor(entry.Red, entry.Green, entry.Blue));
    if (marked_ == index) {
      painter.setPen(QPen(Qt::black, 2));
      painter.drawLine(cell.topLeft(), cell.bottomRight());
      painter.drawLine(cell.topRight(), cell.bottomLeft());
    }
  }
}

void PaletteGrid::mouseMoveEvent(QMouseEvent* event) {
  const QString description = DescriptionAt(event->position().toPoint());
  setToolTip(description);
  if (!description.isEmpty()) QToolTip::showText(event->globalPosition().toPoint(), description);
  emit Pointed(description);
}

}  // namespace zorvane::qt
