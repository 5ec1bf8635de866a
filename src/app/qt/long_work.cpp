#include "long_work.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <exception>
#include <thread>

#include "app/version.h"
#include "widgets.h"

namespace zorvane::qt {

namespace {

constexpr int kPollMs = 20;
// A progress bar counts in int: totals beyond are shown scaled.
constexpr std::uint64_t kMostSteps = 1'000'000;

void ShowReading(QProgressDialog& dialog, const SharedProgress::Reading& reading) {
  // Work that reports no steps (an insertion, a listing) shows a bar that only moves.
  if (reading.Total == 0) {
    dialog.setMaximum(0);
    dialog.setLabelText(QStringLiteral("Working..."));
    return;
  }
  const std::uint64_t scale = reading.Total / kMostSteps + 1;
  dialog.setMaximum(static_cast<int>(std::max<std::uint64_t>(reading.Total / scale, 1)));
  dialog.setValue(static_cast<int>(std::min(reading.Done, reading.Total) / scale));
  dialog.setLabelText(ToQString(reading.What + "\n" + std::to_string(reading.Done) + " of " +
                                std::to_string(reading.Total)));
}

}  // namespace

void SharedProgress::Report(const std::string& what, std::uint64_t done, std::uint64_t total) {
  const std::lock_guard lock(mutex_);
  if (last_.What != what) last_.What = what;
  last_.Done = done;
  last_.Total = total;
}

SharedProgress::Reading SharedProgress::Read() const {
  const std::lock_guard lock(mutex_);
  return last_;
}

void SharedProgress::Reset() {
  const std::lock_guard lock(mutex_);
  last_ = {};
  stop_.store(false);
}

void OnWindowThread(const std::function<void()>& call) {
  if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(QCoreApplication::instance(), call, Qt::BlockingQueuedConnection);
}

void RunOffWindowThread(const std::function<void()>& work, SharedProgress& progress,
                        QWidget* parent, QProgressDialog*& dialog) {
  progress.Reset();
  std::atomic<bool> done{false};
  std::exception_ptr failure;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    done.store(true);
  });
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done.load() || (dialog == nullptr && clock.elapsed() >= kProgressDialogDelayMs)) {
      loop.quit();
    } else if (dialog != nullptr && dialog->isVisible()) {
      ShowReading(*dialog, progress.Read());
    }
  });
  poll.start(kPollMs);
  // The first half second: painting goes on, the user's input waits.
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (!done.load()) {
    QProgressDialog shown(parent);
    shown.setObjectName(QStringLiteral("ProgressDialog"));
    shown.setWindowTitle(ToQString(std::string(app::kProductName)));
    shown.setWindowModality(Qt::ApplicationModal);
    shown.setAutoClose(false);
    shown.setAutoReset(false);
    shown.setMinimumDuration(0);
    shown.setMinimumWidth(360);
    QObject::connect(&shown, &QProgressDialog::canceled, &shown, [&] {
      progress.RequestStop();
      shown.setLabelText(QStringLiteral("Stopping..."));
      shown.setCancelButton(nullptr);
      shown.show();
    });
    ShowReading(shown, progress.Read());
    dialog = &shown;
    shown.show();
    loop.exec();
    dialog = nullptr;
  }
  worker.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace zorvane::qt
