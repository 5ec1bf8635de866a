#include "preview_pane.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/browse_preview.h"
#include "graphics/rendering.h"
#include "palette_grid.h"
#include "picture_view.h"
#include "platform/file_transaction.h"
#include "thumbnail_strip.h"
#include "widgets.h"

namespace zorvane::qt {

namespace {

constexpr int kDefaultRate = 8;  // sub-images a second

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

template <class T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

PreviewPane::PreviewPane(app::Session& session, QWidget* parent)
    : QWidget(parent), session_(session) {
  setObjectName(QStringLiteral("Preview"));
  pages_ = Named(new QStackedWidget(this), "PreviewPages");
  message_ = Named(new QLabel(pages_), "PreviewMessage");
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignCenter);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_ = Named(new QPlainTextEdit(pages_), "TextView");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(FixedPitchFont());

  auto* palettePage = new QWidget(pages_);
  grid_ = new PaletteGrid(palettePage);
  pointed_ = Named(new QLabel(palettePage), "PointedColour");
  auto* paletteLayout = new QVBoxLayout(palettePage);
  paletteLayout->addWidget(grid_, 1);
  paletteLayout->addWidget(pointed_);
  connect(grid_, &PaletteGrid::Pointed, pointed_, &QLabel::setText);

  BuildPicturePage();
  pages_->addWidget(message_);
  pages_->addWidget(text_);
  pages_->addWidget(palettePage);
  pages_->addWidget(picturePage_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pages_);

  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (FrameCount() > 0) ShowFrame((frame_ + 1) % FrameCount());
  });
  Show(std::nullopt);
}

PreviewPane::~PreviewPane() = default;

void PreviewPane::BuildPicturePage() {
  picturePage_ = new QWidget(pages_);
  paletteBox_ = Named(new QComboBox(picturePage_), "PaletteBox");
  zoomBox_ = Named(new QSpinBox(picturePage_), "ZoomBox");
  zoomBox_->setRange(graphics::kSmallestZoom, graphics::kLargestZoom);
  zoomBox_->setSuffix(QStringLiteral("x"));
  checkerboard_ =
      Named(new QCheckBox(QStringLiteral("Checkerboard"), picturePage_), "Checkerboard");
  checkerboard_->setChecked(true);
  checkerboard_->setToolTip(
      QStringLiteral("Transparent pixels over a checkerboard, or in their pink colour"));
  play_ = Named(new QPushButton(QStringLiteral("Play"), picturePage_), "PlayButton");
  rate_ = Named(new QSpinBox(picturePage_), "RateBox");
  rate_->setRange(1, 60);
  rate_->setValue(kDefaultRate);
  rate_->setSuffix(QStringLiteral(" /s"));
  slider_ = Named(new QSlider(Qt::Horizontal, picturePage_), "FrameSlider");
  frameBox_ = Named(new QSpinBox(picturePage_), "FrameBox");

  picture_ = new PictureView;
  scroll_ = Named(new QScrollArea(picturePage_), "PictureArea");
  scroll_->setWidget(picture_);
  scroll_->setAlignment(Qt::AlignCenter);
  info_ = Named(new QLabel(picturePage_), "PictureInfo");
  info_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  info_->setWordWrap(true);
  info_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  splitter_ = Named(new QSplitter(Qt::Horizontal, picturePage_), "PictureSplitter");
  splitter_->addWidget(scroll_);
  splitter_->addWidget(info_);
  splitter_->setStretchFactor(0, 1);
  info_->setMinimumWidth(150);
  splitter_->setSizes({400, 170});

  thumbnails_ = new ThumbnailModel(this);
  strip_ = Named(new QListView(picturePage_), "Thumbnails");
  strip_->setViewMode(QListView::IconMode);
  strip_->setFlow(QListView::LeftToRight);
  strip_->setWrapping(false);
  strip_->setUniformItemSizes(true);
  strip_->setIconSize(QSize(ThumbnailModel::kSide, ThumbnailModel::kSide));
  strip_->setFixedHeight(ThumbnailModel::kSide + 40);
  strip_->setModel(thumbnails_);

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("Palette"), picturePage_));
  controls->addWidget(paletteBox_);
  controls->addWidget(new QLabel(QStringLiteral("Zoom"), picturePage_));
  controls->addWidget(zoomBox_);
  controls->addWidget(checkerboard_);
  controls->addStretch(1);
  controls->addWidget(play_);
  controls->addWidget(rate_);
  auto* navigation = new QHBoxLayout;
  navigation->addWidget(new QLabel(QStringLiteral("Sub-image"), picturePage_));
  navigation->addWidget(slider_, 1);
  navigation->addWidget(frameBox_);
  auto* layout = new QVBoxLayout(picturePage_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(controls);
  layout->addLayout(navigation);
  layout->addWidget(splitter_, 1);
  layout->addWidget(strip_);

  for (const std::string_view name : graphics::kPaletteNames) {
    paletteBox_->addItem(Latin1(std::string(name)));
  }
  connect(paletteBox_, &QComboBox::currentIndexChanged, this,
          [this](int index) { SetPalette(static_cast<graphics::PaletteId>(index)); });
  connect(zoomBox_, &QSpinBox::valueChanged, picture_, &PictureView::SetZoom);
  connect(picture_, &PictureView::ZoomStep, this, &PreviewPane::ZoomBy);
  connect(checkerboard_, &QCheckBox::toggled, this, [this] { Redraw(); });
  connect(play_, &QPushButton::clicked, this, [this] { SetPlaying(!Playing()); });
  connect(rate_, &QSpinBox::valueChanged, this,
          [this](int rate) { timer_->setInterval(1000 / rate); });
  connect(slider_, &QSlider::valueChanged, this, &PreviewPane::ShowFrame);
  connect(frameBox_, &QSpinBox::valueChanged, this, &PreviewPane::ShowFrame);
  connect(strip_, &QListView::clicked, this,
          [this](const QModelIndex& index) { ShowFrame(index.row()); });
}

int PreviewPane::FrameCount() const {
  return sprite_ ? sprite_->SubImageCount() : 0;
}

void PreviewPane::Show(const std::optional<app::BrowseRow>& row) {
  SetPlaying(false);
  thumbnails_->Show(nullptr, nullptr, palette_);
  sprite_.reset();
  row_ = row;
  palettes_ = session_.Palettes;
  if (!row) {
    ShowMessage(QStringLiteral("Choose a member to see it here."));
    return;
  }
  const graphics::MemberLocation location = app::LocationOf(session_, *row);
  switch (row->Kind) {
    case app::MemberKind::Sprite:
    case app::MemberKind::Tile:
      ShowSprite(location);
      break;
    case app::MemberKind::Palette:
      ShowPaletteMember(location);
      break;
    case app::MemberKind::Text:
      ShowBytes(location, true);
      break;
    default:
      ShowBytes(location, false);
  }
}

void PreviewPane::ShowMessage(const QString& text) {
  message_->setText(text);
  pages_->setCurrentWidget(message_);
}

void PreviewPane::ShowSprite(const graphics::MemberLocation& location) {
  auto opened = graphics::SpriteView::Open(location);
  if (!opened) return ShowMessage(ToQString(opened.Reason()));
  sprite_ = std::move(opened).Value();
  if (sprite_->SubImageCount() == 0) {
    sprite_.reset();
    return ShowMessage(Latin1(location.Name) +
                       QStringLiteral(" is not a valid sprite file: its table of sub-images "
                                      "cannot be read."));
  }
  const graphics::PaletteId chosen = app::PaletteOfRow(*row_);
  {
    const QSignalBlocker blocker(paletteBox_);
    for (std::size_t i = 0; i < graphics::kPaletteCount; ++i) {
      QString name = Latin1(std::string(graphics::kPaletteNames[i]));
      if (static_cast<graphics::PaletteId>(i) == chosen) name += QStringLiteral(" (extraction)");
      paletteBox_->setItemText(static_cast<int>(i), name);
    }
    paletteBox_->setCurrentIndex(static_cast<int>(chosen));
  }
  const int last = sprite_->SubImageCount() - 1;
  {
    const QSignalBlocker sliderBlocker(slider_);
    const QSignalBlocker boxBlocker(frameBox_);
    slider_->setRange(0, last);
    frameBox_->setRange(0, last);
  }
  pages_->setCurrentWidget(picturePage_);
  frame_ = -1;
  palette_ = chosen;
  thumbnails_->Show(sprite_.get(), &palettes_, palette_);
  ShowFrame(0);
}

void PreviewPane::ShowPaletteMember(const graphics::MemberLocation& location) {
  auto bytes = graphics::ReadMemberStart(location, graphics::kPaletteBytes);
  if (!bytes) return ShowMessage(ToQString(bytes.Reason()));
  std::optional<int> transparent;
  if (graphics::PaletteForMember(location.Name) == graphics::PaletteId::Day) {
    transparent = graphics::kTransparentIndex;
  }
  grid_->SetPalette(graphics::ParsePalette(bytes.Value()), transparent);
  pointed_->clear();
  pages_->setCurrentWidget(grid_->parentWidget());
}

void PreviewPane::ShowBytes(const graphics::MemberLocation& location, bool asText) {
  auto bytes =
      graphics::ReadMemberStart(location, asText ? app::kTextViewBytes : app::kHexViewBytes);
  if (!bytes) return ShowMessage(ToQString(bytes.Reason()));
  text_->setPlainText(
      Latin1(asText ? app::TextOfMember(bytes.Value()) : app::HexDump(bytes.Value())));
  pages_->setCurrentWidget(text_);
}

void PreviewPane::ShowFrame(int frame) {
  if (!sprite_) return;
  frame = std::clamp(frame, 0, FrameCount() - 1);
  if (frame == frame_) return;
  frame_ = frame;
  {
    const QSignalBlocker sliderBlocker(slider_);
    const QSignalBlocker boxBlocker(frameBox_);
    slider_->setValue(frame);
    frameBox_->setValue(frame);
  }
  strip_->setCurrentIndex(thumbnails_->index(frame));
  Redraw();
}

void PreviewPane::SetPalette(graphics::PaletteId palette) {
  palette_ = palette;
  if (!sprite_) return;
  {
    const QSignalBlocker blocker(paletteBox_);
    paletteBox_->setCurrentIndex(static_cast<int>(palette));
  }
  thumbnails_->Show(sprite_.get(), &palettes_, palette_);
  strip_->setCurrentIndex(thumbnails_->index(frame_));
  Redraw();
}

void PreviewPane::Redraw() {
  if (!sprite_) return;
  const auto shown = sprite_->Decode(frame_, graphics::ShowsTransparency(palette_));
  const QString position = QStringLiteral("Sub-image %1 of %2\n").arg(frame_).arg(FrameCount());
  if (!shown) {
    picture_->SetPicture(QImage());
    info_->setText(position + ToQString(shown.Reason()));
    return;
  }
  picture_->SetPicture(
      IndexedImage(graphics::RenderPicture(shown.Value().Pixels, palettes_, palette_, 1),
                   checkerboard_->isChecked()));
  info_->setText(position + Latin1(app::SubImageDescription(shown.Value())));
}

void PreviewPane::ZoomBy(int step) {
  zoomBox_->setValue(zoomBox_->value() + step);
}

void PreviewPane::ZoomToFit() {
  zoomBox_->setValue(picture_->FitZoom(scroll_->viewport()->size()));
}

void PreviewPane::SetPlaying(bool playing) {
  if (playing && FrameCount() > 1) {
    timer_->start(1000 / rate_->value());
  } else {
    timer_->stop();
  }
  play_->setText(timer_->isActive() ? QStringLiteral("Pause") : QStringLiteral("Play"));
}

bool PreviewPane::Playing() const {
  return timer_->isActive();
}

QString PreviewPane::ExportName() const {
  if (!row_) return {};
  return Latin1(row_->Name) +
         QStringLiteral("_%1.PNG").arg(std::max(frame_, 0), 5, 10, QLatin1Char('0'));
}

void PreviewPane::ExportPng(const std::string& path) {
  if (!sprite_) return;
  const auto shown = sprite_->Decode(frame_, graphics::ShowsTransparency(palette_));
  if (!shown) return session_.Ui.ShowMessage(shown.Reason());
  const QImage image = IndexedImage(
      graphics::RenderPicture(shown.Value().Pixels, palettes_, palette_, picture_->Zoom()),
      checkerboard_->isChecked());
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "PNG")) {
    return session_.Ui.ShowMessage("The picture cannot be made into a PNG: it is too large.");
  }
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(png.constData()),
                        static_cast<std::size_t>(png.size()));
  if (auto written = platform::ReplaceWholeFile(path, bytes, session_.Ui); !written) {
    session_.Ui.ShowMessage(written.Reason());
  }
}

}  // namespace zorvane::qt
