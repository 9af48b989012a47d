#pragma once

#include "session/ReleaseSession.h"

#include <QAbstractTableModel>
#include <QStringList>

// The quality page's table over the session's audio figures: one row per track as the audio pass
// measures it, then the album's row once the pass is done. Numbers follow the user's locale.
class QualityTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column {
    kFile,
    kDr,
    kPeak,
    kRms,
    kLoudness,
    kTruePeak,
    kGain,
    kCutoff,
    kNotes,
    kColumnCount
  };

  explicit QualityTableModel(const ReleaseSession& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The album row's name and the notes' texts ("possible lossy source", "not decoded: %1").
  enum class Text { Album, LossySource, Upsampled, NotDecoded };

  void SetHeader(int column, const QString& text);
  void SetText(Text which, const QString& text);

  void Reset();
  void RowChanged(int row);

 private:
  QString TrackText(int row, int column) const;
  QString AlbumText(int column) const;
  QString Notes(int row) const;

  const ReleaseSession& session_;
  QStringList headers_;
  QString album_;
  QString lossySource_;
  QString upsampled_;
  QString notDecoded_;
};
