#include "picture_view.h"

#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>

namespace zorvane::qt {

namespace {

constexpr int kCheckerSquare = 8;

QBrush CheckerBrush() {
  QPixmap tile(2 * kCheckerSquare, 2 * kCheckerSquare);
  tile.fill(QColor(204, 204, 204));
  QPainter painter(&tile);
  painter.fillRect(0, 0, kCheckerSquare, kCheckerSquare, QColor(255, 255, 255));
  painter.fillRect(kCheckerSquare, kCheckerSquare, kCheckerSquare, kCheckerSquare,
                   QColor(255, 255, 255));
  return QBrush(tile);
}

}  // namespace

QImage IndexedImage(const graphics::RenderedPicture& picture, bool transparentShown) {
  QImage image(picture.Width, picture.Height, QImage::Format_Indexed8);
  QList<QRgb> colours;
  colours.reserve(static_cast<qsizetype>(graphics::kPaletteEntries));
  for (const graphics::PaletteEntry& entry : picture.Colours) {
    colours << qRgb(entry.Red, entry.Green, entry.Blue);
  }
  if (picture.UsesTransparency && transparentShown) {
    colours[graphics::kTransparentIndex] = qRgba(0, 0, 0, 0);
  }
  image.setColorTable(colours);
  for (int y = 0; y < picture.Height; ++y) {
    std::memcpy(image.scanLine(y),
                picture.Pixels.data() + static_cast<std::size_t>(y) * picture.Width,
                static_cast<std::size_t>(picture.Width));
  }
  return image;
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Picture"));
}

void PictureView::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  resize(sizeHint());
  updateGeometry();
  update();
}

void PictureView::SetZoom(int zoom) {
  zoom_ = std::clamp(zoom, graphics::kSmallestZoom, graphics::kLargestZoom);
  resize(sizeHint());
  updateGeometry();
  update();
}

int PictureView::FitZoom(const QSize& area) const {
  if (picture_.isNull()) return 1;
  const int zoom = std::min(area.width() / std::max(1, picture_.width()),
                            area.height() / std::max(1, picture_.height()));
  return std::clamp(zoom, graphics::kSmallestZoom, graphics::kLargestZoom);
}

QSize PictureView::sizeHint() const {
  return picture_.size() * zoom_;
}

void PictureView::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  const QRect shown(QPoint(0, 0), picture_.size() * zoom_);
  painter.fillRect(shown, CheckerBrush());
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(shown, picture_);
}

void PictureView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
    QWidget::wheelEvent(event);
    return;
  }
  emit ZoomStep(event->angleDelta().y() > 0 ? 1 : -1);
  event->accept();
}

}  // namespace zorvane::qt
