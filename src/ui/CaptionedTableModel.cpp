#include "ui/CaptionedTableModel.h"

CaptionedTableModel::CaptionedTableModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)) {}

int CaptionedTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant CaptionedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= headers_.size()) {
    return {};
  }
  return headers_[section];
}

void CaptionedTableModel::SetHeader(int column, const QString& text) {
  if (column < 0 || column >= headers_.size())
    return;
  headers_[column] = text;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void CaptionedTableModel::Reset() {
  beginResetModel();
  endResetModel();
}

void CaptionedTableModel::RowChanged(int row) {
  if (row < 0 || row >= rowCount())
    return;
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}
