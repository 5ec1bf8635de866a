#pragma once

#include <QWidget>
#include <array>

#include "app/how_to.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace zorvane::qt {

// The How-To window: eleven topics as option buttons and the chosen topic's text.
class Form2 : public QWidget {
  Q_OBJECT

 public:
  Form2(app::HowToWindowModel& model, QWidget* owner);
  void Refresh();

 private:
  app::HowToWindowModel& model_;
  QLabel* label1_ = nullptr;
  QPlainTextEdit* text1_ = nullptr;
  std::array<QRadioButton*, app::kHowToOptionCount + 1> options_{};
};

}  // namespace zorvane::qt
