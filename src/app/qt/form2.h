#pragma once

#include <QWidget>
#include <array>

#include "app/how_to.h"

class QCloseEvent;
class QLabel;
class QPlainTextEdit;
class QRadioButton;

namespace zorvane::qt {

// The How-To window: eleven topics as option buttons and the chosen topic's text.
class Form2 : public QWidget {
  Q_OBJECT

 public:
  Form2(app::HowToWindowModel& model, QWidget* owner);
  void Refresh();

 protected:
  // The title bar's close button does what Close does: the window is hidden, its topic kept.
  void closeEvent(QCloseEvent* event) override;

 private:
  app::HowToWindowModel& model_;
  QLabel* label1_ = nullptr;
  QPlainTextEdit* text1_ = nullptr;
  std::array<QRadioButton*, app::kHowToOptionCount + 1> options_{};
};

}  // namespace zorvane::qt
