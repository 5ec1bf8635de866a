#include "widgets.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStringList>

#include "twips.h"

namespace zorvane::qt {

QString ToQString(const std::string& text) {
  QString converted = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  converted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return converted;
}

std::string ToStdString(const QString& text) {
  return text.toUtf8().toStdString();
}

QFont FixedPitchFont() {
  if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(11);
    return font;
  }
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPixelSize(11);
  return font;
}

QString WrappedCaption(const QString& caption, const QFont& font, int width) {
  const QFontMetrics metrics(font);
  QStringList lines;
  QString line;
  for (const QString& word : caption.split(QLatin1Char(' '))) {
    const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
      lines << line;
      line = word;
    } else {
      line = candidate;
    }
  }
  lines << line;
  return lines.join(QLatin1Char('\n'));
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

QString TextFittingLabel(const QString& text, const QLabel& label) {
  const QFontMetrics metrics(label.font());
  const QRect area = label.contentsRect();
  if (metrics.boundingRect(area, Qt::TextWordWrap, text).height() <= area.height()) return text;
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideMiddle, area.width());
  return lines.join(QLatin1Char('\n'));
}

QFrame* MakeLine(QWidget* parent, const char* name, int left, int right, int y) {
  auto* line = new QFrame(parent);
  line->setObjectName(QString::fromLatin1(name));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(Pixels(left), Pixels(y) - 1, Pixels(right - left), 3);
  return line;
}

namespace {

std::vector<std::string> DroppedPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(ToStdString(url.toLocalFile()));
  }
  return paths;
}

}  // namespace

void AcceptFileDrag(QDragEnterEvent* event) {
  if (!DroppedPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

std::vector<std::string> TakeDroppedFiles(QDropEvent* event) {
  std::vector<std::string> paths = DroppedPaths(event->mimeData());
  if (!paths.empty()) event->acceptProposedAction();
  return paths;
}

QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath hex;
  hex.moveTo(8, 3);
  hex.lineTo(24, 3);
  hex.lineTo(31, 16);
  hex.lineTo(24, 29);
  hex.lineTo(8, 29);
  hex.lineTo(1, 16);
  hex.closeSubpath();
  painter.fillPath(hex, QColor(96, 160, 72));
  painter.setPen(QPen(QColor(40, 60, 30), 2));
  painter.drawPath(hex);
  painter.setPen(QPen(QColor(60, 110, 200), 3));
  painter.drawLine(4, 20, 28, 12);
  return QIcon(pixmap);
}

}  // namespace zorvane::qt
