#include "form2.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "twips.h"
#include "widgets.h"

namespace zorvane::qt {

namespace {

struct OptionPlace {
  int Number;
  QRect Geometry;  // in pixels, inside the frame (Option7: inside the window)
};

}  // namespace

Form2::Form2(app::HowToWindowModel& model, QWidget* owner)
    : QWidget(owner, Qt::Window), model_(model) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Form2"));
  setFixedSize(Pixels(10065), Pixels(6930));

  // 600 twips high rather than 495, for the three lines its text takes in this font.
  label1_ = MakeLabel(this, "Label1", TwipsRect(0, 120, 2895, 600));

  auto* frame1 = new QGroupBox(QStringLiteral("How To ..."), this);
  frame1->setObjectName(QStringLiteral("Frame1"));
  frame1->setGeometry(TwipsRect(0, 1080, 2895, 5295));

  const std::array<OptionPlace, app::kHowToOptionCount> places{{
      {7, TwipsRect(0, 720, 2895, 255)},  // as wide as the frame (not 2535), for one line
      {4, TwipsRect(120, 240, 2655, 255)},
      {10, TwipsRect(120, 600, 2655, 375)},
      {1, TwipsRect(120, 1200, 2655, 255)},
      {8, TwipsRect(120, 1560, 2655, 615)},
      {2, TwipsRect(120, 2280, 2655, 375)},
      {3, TwipsRect(120, 2760, 2655, 255)},
      {5, TwipsRect(120, 3240, 2655, 375)},
      {6, TwipsRect(120, 3720, 2655, 255)},
      {11, TwipsRect(120, 4200, 2655, 615)},
      {9, TwipsRect(120, 4920, 2655, 255)},
  }};
  // The frame's title is taller here than the layout allows for: an option placed above the
  // frame's contents moves down to them, so that it shows whole; the others keep their places.
  const int contentsTop = frame1->contentsRect().top();
  for (const OptionPlace& place : places) {
    const bool inFrame = place.Number != app::kGeneralDescriptionOption;
    QWidget* parent = inFrame ? static_cast<QWidget*>(frame1) : this;
    QRect geometry = place.Geometry;
    if (inFrame) geometry.moveTop(std::max(geometry.top(), contentsTop));
    const std::string_view text = app::HowToOptionCaption(place.Number);
    const QString caption = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    auto* option = new QRadioButton(parent);
    option->setObjectName(QStringLiteral("Option%1").arg(place.Number));
    option->setAutoExclusive(false);
    option->setText(WrappedCaption(caption, option->font(), place.Geometry.width() - 24));
    option->setGeometry(geometry);
    connect(option, &QRadioButton::clicked, this, [this, number = place.Number] {
      app::OnHowToOptionClick(model_, number);
      Refresh();
    });
    options_[place.Number] = option;
  }
  MakeLine(frame1, "Line3", 120, 2400, 1080);
  MakeLine(frame1, "Line1", 120, 2400, 3120);
  MakeLine(frame1, "Line2", 120, 2400, 4080);

  text1_ = new QPlainTextEdit(this);
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setGeometry(TwipsRect(3000, 120, 6975, 6735));
  text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("Command1"));
  close->setGeometry(TwipsRect(120, 6480, 2415, 375));
  connect(close, &QPushButton::clicked, this, [this] {
    app::OnHowToClose(model_);
    Refresh();
  });
}

void Form2::Refresh() {
  label1_->setText(ToQString(model_.Label1Caption));
  for (int option = 1; option <= app::kHowToOptionCount; ++option) {
    options_[option]->setChecked(model_.Option[option]);
  }
  const QString text = ToQString(model_.Text1);
  if (text1_->toPlainText() != text) text1_->setPlainText(text);
  setVisible(model_.Visible);
  if (model_.Visible) raise();
}

void Form2::closeEvent(QCloseEvent* event) {
  app::OnHowToClose(model_);
  QWidget::closeEvent(event);
}

}  // namespace zorvane::qt
