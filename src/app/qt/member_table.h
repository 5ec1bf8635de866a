#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <string>
#include <vector>

#include "app/browse_model.h"

namespace zorvane::qt {

// The members of all archives as a table: name, archive, offset, length, kind.
class MemberTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kName, kArchive, kOffset, kLength, kKind, kColumnCount };

  using QAbstractTableModel::QAbstractTableModel;
  void SetRows(std::vector<app::BrowseRow> rows);
  const app::BrowseRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  int RowCount() const { return static_cast<int>(rows_.size()); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<app::BrowseRow> rows_;
};

// Shows the rows whose name matches the filter typed, sorted by any column (numbers as
// numbers).
class MemberFilterProxy : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit MemberFilterProxy(MemberTableModel* members, QObject* parent = nullptr);
  void SetFilter(const QString& filter);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  MemberTableModel* members_;
  std::string filter_;
};

}  // namespace zorvane::qt
