#pragma once

#include <QDialog>

#include "app/session.h"

class QLabel;

namespace zorvane::qt {

// The About window: name, version, description, legal notice, and System Info.
class FrmAbout : public QDialog {
  Q_OBJECT

 public:
  FrmAbout(app::Session& session, QWidget* owner);
  void Refresh();

 protected:
  void done(int result) override;

 private:
  app::Session& session_;
  QLabel* title_ = nullptr;
  QLabel* version_ = nullptr;
  QLabel* description_ = nullptr;
  QLabel* disclaimer_ = nullptr;
};

}  // namespace zorvane::qt
