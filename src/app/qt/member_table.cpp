#include "member_table.h"

#include <tuple>

namespace zorvane::qt {

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void MemberTableModel::SetRows(std::vector<app::BrowseRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int MemberTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int MemberTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant MemberTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= RowCount()) return {};
  const app::BrowseRow& row = Row(index.row());
  const bool number = index.column() == kOffset || index.column() == kLength;
  if (role == Qt::TextAlignmentRole) {
    return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case kName:
      return Latin1(row.Name);
    case kArchive:
      return Latin1(row.Archive);
    case kOffset:
      return row.Offset;
    case kLength:
      return row.Length;
    default:
      return Latin1(std::string(app::KindName(row.Kind)));
  }
}

QVariant MemberTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeaders[kColumnCount] = {"Name", "Archive", "Offset", "Length", "Kind"};
  return section >= 0 && section < kColumnCount ? QString::fromLatin1(kHeaders[section])
                                                : QVariant();
}

MemberFilterProxy::MemberFilterProxy(MemberTableModel* members, QObject* parent)
    : QSortFilterProxyModel(parent), members_(members) {
  setSourceModel(members);
}

void MemberFilterProxy::SetFilter(const QString& filter) {
  const QByteArray latin1 = filter.toLatin1();
  std::string text(latin1.constData(), static_cast<std::size_t>(latin1.size()));
  if (text == filter_) return;
  filter_ = std::move(text);
  invalidateFilter();
}

bool MemberFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  return app::MatchesFilter(members_->Row(sourceRow).Name, filter_);
}

bool MemberFilterProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const app::BrowseRow& a = members_->Row(left.row());
  const app::BrowseRow& b = members_->Row(right.row());
  switch (left.column()) {
    case MemberTableModel::kArchive:
      return std::tie(a.Archive, a.Offset) < std::tie(b.Archive, b.Offset);
    case MemberTableModel::kOffset:
      return a.Offset < b.Offset;
    case MemberTableModel::kLength:
      return a.Length < b.Length;
    case MemberTableModel::kKind:
      return app::KindName(a.Kind) < app::KindName(b.Kind);
    default:
      return a.Name < b.Name;
  }
}

}  // namespace zorvane::qt
