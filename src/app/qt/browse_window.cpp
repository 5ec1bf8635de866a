#include "browse_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "app/dropped_files.h"
#include "member_table.h"
#include "preview_pane.h"
#include "qt_ui.h"
#include "widgets.h"

namespace zorvane::qt {

namespace {

constexpr QSize kFirstSize(980, 640);

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

}  // namespace

BrowseWindow::BrowseWindow(app::Session& session, std::function<void()> afterCommand,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), afterCommand_(std::move(afterCommand)) {
  setObjectName(QStringLiteral("Browse"));
  setWindowTitle(QStringLiteral("Browse"));
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);
  filter_ = new QLineEdit(this);
  filter_->setObjectName(QStringLiteral("FilterBox"));
  filter_->setPlaceholderText(
      QStringLiteral("Filter: part of a name; * any characters, ? any one"));
  filter_->setClearButtonEnabled(true);

  members_ = new MemberTableModel(this);
  shown_ = new MemberFilterProxy(members_, this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("MemberTable"));
  table_->setModel(shown_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  table_->horizontalHeader()->setStretchLastSection(true);
  for (const auto& [column, characters] :
       {std::pair{MemberTableModel::kName, 10}, {MemberTableModel::kArchive, 9},
        {MemberTableModel::kOffset, 11}, {MemberTableModel::kLength, 9}}) {
    table_->setColumnWidth(column, table_->fontMetrics().averageCharWidth() * characters + 12);
  }
  // Index order until the user sorts by a column.
  table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  table_->setSortingEnabled(true);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("FilterStatus"));

  preview_ = new PreviewPane(session_, this);
  auto* listSide = new QWidget(this);
  auto* listLayout = new QVBoxLayout(listSide);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->addWidget(filter_);
  listLayout->addWidget(table_, 1);
  listLayout->addWidget(status_);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("BrowseSplitter"));
  splitter_->addWidget(listSide);
  splitter_->addWidget(preview_);
  splitter_->setStretchFactor(1, 1);

  auto* buttons = new QHBoxLayout;
  QPushButton* extract = MakeButton(this, "ExtractButton", "Extract");
  QPushButton* exportPng = MakeButton(this, "ExportButton", "Export PNG...");
  QPushButton* insert = MakeButton(this, "InsertButton", "Insert...");
  buttons->addWidget(extract);
  buttons->addWidget(exportPng);
  buttons->addWidget(insert);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter_, 1);
  layout->addLayout(buttons);

  connect(extract, &QPushButton::clicked, this, &BrowseWindow::ExtractSelected);
  connect(exportPng, &QPushButton::clicked, this, &BrowseWindow::ExportShown);
  connect(insert, &QPushButton::clicked, this, &BrowseWindow::InsertOverCurrent);
  connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
    shown_->SetFilter(text);
    ShowStatus();
  });
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { preview_->Show(CurrentRow()); });
  connect(table_, &QTableView::doubleClicked, this, &BrowseWindow::ExtractSelected);
  BuildShortcuts();
  ApplyLayout();
  Reload();
}

BrowseWindow::~BrowseWindow() = default;

void BrowseWindow::BuildShortcuts() {
  const auto add = [this](const QKeySequence& keys, QWidget* on, Qt::ShortcutContext context,
                          auto action) {
    auto* shortcut = new QShortcut(keys, on);
    shortcut->setContext(context);
    connect(shortcut, &QShortcut::activated, this, action);
  };
  add(QKeySequence(Qt::Key_Escape), this, Qt::WindowShortcut, [this] { filter_->clear(); });
  for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
    add(QKeySequence(key), table_, Qt::WidgetShortcut, [this] { ExtractSelected(); });
  }
  PreviewPane* pane = preview_;
  add(QKeySequence(Qt::Key_PageDown), this, Qt::WindowShortcut,
      [pane] { pane->ShowFrame(pane->Frame() + 1); });
  add(QKeySequence(Qt::Key_PageUp), this, Qt::WindowShortcut,
      [pane] { pane->ShowFrame(pane->Frame() - 1); });
  add(QKeySequence(Qt::Key_Home), this, Qt::WindowShortcut, [pane] { pane->ShowFrame(0); });
  add(QKeySequence(Qt::Key_End), this, Qt::WindowShortcut,
      [pane] { pane->ShowFrame(pane->FrameCount() - 1); });
  for (const QKeySequence& in :
       {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}) {
    add(in, this, Qt::WindowShortcut, [pane] { pane->ZoomBy(1); });
  }
  add(QKeySequence(Qt::CTRL | Qt::Key_Minus), this, Qt::WindowShortcut,
      [pane] { pane->ZoomBy(-1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_0), this, Qt::WindowShortcut, [pane] { pane->ZoomToFit(); });
}

void BrowseWindow::ApplyLayout() {
  if (!session_.BrowseLayout) {
    resize(kFirstSize);
    splitter_->setSizes({kFirstSize.width() * 2 / 5, kFirstSize.width() * 3 / 5});
    return;
  }
  const app::BrowseLayout& layout = *session_.BrowseLayout;
  resize(layout.Width, layout.Height);
  const std::vector<int>& panes = layout.PaneSizes;
  if (panes.size() >= 2) splitter_->setSizes({panes[0], panes[1]});
  if (panes.size() >= 4) preview_->Splitter()->setSizes({panes[2], panes[3]});
}

void BrowseWindow::dragEnterEvent(QDragEnterEvent* event) {
  AcceptFileDrag(event);
}

void BrowseWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = TakeDroppedFiles(event);
  if (paths.empty()) return;
  RunCommand(session_.Ui, [this, &paths] { app::OnFilesDropped(session_, paths); });
  AfterCommand();
}

void BrowseWindow::hideEvent(QHideEvent* event) {
  app::BrowseLayout layout{width(), height(), {}};
  for (const QSplitter* splitter : {splitter_, preview_->Splitter()}) {
    for (const int size : splitter->sizes()) layout.PaneSizes.push_back(std::max(size, 1));
  }
  app::SaveBrowseLayout(session_, layout);
  QWidget::hideEvent(event);
}

void BrowseWindow::Reload() {
  const std::optional<app::BrowseRow> current = CurrentRow();
  std::vector<app::BrowseRow> rows;
  app::ListBrowseRows(session_, rows);
  members_->SetRows(std::move(rows));
  ShowStatus();
  QModelIndex again;
  for (int row = 0; current && row < shown_->rowCount(); ++row) {
    const app::BrowseRow& member = members_->Row(shown_->mapToSource(shown_->index(row, 0)).row());
    if (member.Name == current->Name && member.Archive == current->Archive) {
      again = shown_->index(row, 0);
      break;
    }
  }
  if (again.isValid()) {
    table_->setCurrentIndex(again);
  } else {
    preview_->Show(std::nullopt);
  }
}

std::optional<app::BrowseRow> BrowseWindow::CurrentRow() const {
  const QModelIndex current = table_->currentIndex();
  if (!current.isValid()) return std::nullopt;
  return members_->Row(shown_->mapToSource(current).row());
}

void BrowseWindow::ShowStatus() {
  status_->setText(ToQString(app::FilterStatus(static_cast<std::size_t>(shown_->rowCount()),
                                               static_cast<std::size_t>(members_->RowCount()))));
}

void BrowseWindow::ExtractSelected() {
  QModelIndexList selected = table_->selectionModel()->selectedRows();
  std::sort(selected.begin(), selected.end());
  std::vector<app::BrowseRow> chosen;
  for (const QModelIndex& index : selected) {
    chosen.push_back(members_->Row(shown_->mapToSource(index).row()));
  }
  if (chosen.empty()) return;
  RunCommand(session_.Ui, [this, &chosen] { app::ExtractBrowsedMembers(session_, chosen); });
  AfterCommand();
}

void BrowseWindow::ExportShown() {
  if (preview_->FrameCount() == 0) return;
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Export the picture as PNG"),
      ToQString(session_.DataFolder) + preview_->ExportName(),
      QStringLiteral("PNG pictures (*.PNG *.png)"), nullptr, QFileDialog::DontUseNativeDialog);
  if (!path.isEmpty()) preview_->ExportPng(ToStdString(path));
}

void BrowseWindow::InsertOverCurrent() {
  const auto row = CurrentRow();
  if (!row) return;
  RunCommand(session_.Ui, [this, &row] { app::InsertOverBrowsedMember(session_, *row); });
  AfterCommand();
}

void BrowseWindow::AfterCommand() {
  if (afterCommand_) afterCommand_();
  Reload();
}

}  // namespace zorvane::qt
