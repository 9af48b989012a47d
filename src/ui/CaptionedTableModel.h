#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// What the window's tables share: column headers that the language file sets, a reset when the
// rows are made anew, and one row drawn anew when its data changed.
class CaptionedTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  CaptionedTableModel(QStringList headers, QObject* parent);

  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void SetHeader(int column, const QString& text);
  void Reset();
  void RowChanged(int row);

 private:
  QStringList headers_;
};
