#include "qt_ui.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>

#include "app/version.h"
#include "widgets.h"

namespace zorvane::qt {

std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& text, bool withCancel,
                                            QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QString::fromUtf8(app::kProductName.data(),
                                        static_cast<qsizetype>(app::kProductName.size())));
  box->setIcon(QMessageBox::NoIcon);
  box->setText(ToQString(text));
  box->setTextFormat(Qt::PlainText);
  box->setStandardButtons(withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
  box->setDefaultButton(QMessageBox::Ok);
  return box;
}

QString NameFilter(const std::string& filter) {
  const QString text = ToQString(filter);
  const auto bar = text.indexOf(QLatin1Char('|'));
  if (bar < 0) return text;
  QString patterns = text.mid(bar + 1);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  // A description that names its patterns in parentheses of its own ("(*.IDX, *.PFP)") gives
  // them up for the list Qt reads, so that the dialog shows them once.
  QString description = text.left(bar).trimmed();
  const auto open = description.lastIndexOf(QLatin1Char('('));
  if (open >= 0 && description.endsWith(QLatin1Char(')'))) {
    description = description.left(open).trimmed();
  }
  return description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

void RunCommand(platform::Ui& ui, const std::function<void()>& work) {
  if (auto* qtUi = dynamic_cast<QtUi*>(&ui)) {
    qtUi->RunOffWindowThread(work);
  } else {
    work();
  }
}

void QtUi::HideProgress() {
  if (progressDialog_ != nullptr) progressDialog_->hide();
}

void QtUi::RunOffWindowThread(const std::function<void()>& work) {
  if (running_) {
    work();
    return;
  }
  running_ = true;
  try {
    qt::RunOffWindowThread(work, progress_, parent_, progressDialog_);
  } catch (...) {
    running_ = false;
    throw;
  }
  running_ = false;
}

void QtUi::ShowMessage(const std::string& text) {
  OnWindowThread([&] {
    HideProgress();
    if (beforeDialog_) beforeDialog_();
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    MakeMessageBox(text, false, parent_)->exec();
    QApplication::restoreOverrideCursor();
  });
}

platform::Answer QtUi::AskOkCancel(const std::string& text) {
  int answer = QMessageBox::Cancel;
  OnWindowThread([&] {
    HideProgress();
    if (beforeDialog_) beforeDialog_();
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    answer = MakeMessageBox(text, true, parent_)->exec();
    QApplication::restoreOverrideCursor();
  });
  return answer == QMessageBox::Ok ? platform::Answer::Ok : platform::Answer::Cancel;
}

std::string QtUi::ChooseFileToOpen(const platform::OpenFileRequest& request) {
  std::string chosen;
  OnWindowThread([&] { chosen = ChooseOnWindowThread(request); });
  return chosen;
}

std::string QtUi::ChooseOnWindowThread(const platform::OpenFileRequest& request) {
  HideProgress();
  if (beforeDialog_) beforeDialog_();
  QFileDialog dialog(parent_, ToQString(request.Title),
                     startFolder_ != nullptr ? ToQString(*startFolder_) : QString());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilter(NameFilter(request.Filter));
  if (!request.InitialName.empty()) dialog.selectFile(ToQString(request.InitialName));
  if (!request.SuggestedName.empty()) dialog.selectFile(ToQString(request.SuggestedName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return request.InitialName;
  }
  return ToStdString(dialog.selectedFiles().front());
}

void QtUi::SetBusy(bool busy) {
  OnWindowThread([&] {
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      ++busyDepth_;
    } else if (busyDepth_ > 0) {
      QApplication::restoreOverrideCursor();
      --busyDepth_;
    }
  });
}

}  // namespace zorvane::qt
