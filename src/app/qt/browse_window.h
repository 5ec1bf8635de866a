#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "app/browse_model.h"
#include "app/session.h"

class QLabel;
class QLineEdit;
class QSplitter;
class QTableView;

namespace zorvane::qt {

class MemberFilterProxy;
class MemberTableModel;
class PreviewPane;

// Extract > Browse: the members of all archives in a table that a filter narrows as the user
// types, the chosen member's preview beside it, and the commands on the chosen members. It is
// not modal; the main window goes on working beside it.
class BrowseWindow : public QWidget {
  Q_OBJECT

 public:
  // `afterCommand` runs after each command that may have changed the installation, for the
  // main window to show the session again.
  BrowseWindow(app::Session& session, std::function<void()> afterCommand,
               QWidget* parent = nullptr);
  ~BrowseWindow() override;

  // Lists the members again, keeping the filter and, where it is still listed, the chosen
  // member; the preview shows it anew.
  void Reload();

  // The member of the table's current row, if any.
  std::optional<app::BrowseRow> CurrentRow() const;
  PreviewPane& Preview() const { return *preview_; }
  QTableView& Table() const { return *table_; }

  // The commands of the buttons: extract every selected member, one after another; write the
  // shown sub-image as a PNG (asks where); insert a sprite file over the chosen member.
  void ExtractSelected();
  void ExportShown();
  void InsertOverCurrent();

 protected:
  void hideEvent(QHideEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildShortcuts();
  void ApplyLayout();
  void ShowStatus();
  void AfterCommand();

  app::Session& session_;
  std::function<void()> afterCommand_;
  MemberTableModel* members_ = nullptr;
  MemberFilterProxy* shown_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QTableView* table_ = nullptr;
  QLabel* status_ = nullptr;
  QSplitter* splitter_ = nullptr;
  PreviewPane* preview_ = nullptr;
};

}  // namespace zorvane::qt
