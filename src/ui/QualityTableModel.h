#pragma once

#include "session/ReleaseSession.h"
#include "ui/CaptionedTableModel.h"

#include <QStringList>

// The quality page's table over the session's audio figures: one row per track as the audio pass
// measures it, then the album's row once the pass is done. Numbers follow the user's locale.
class QualityTableModel : public CaptionedTableModel {
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
  QVariant data(const QModelIndex& index, int role) const override;

  // The album row's name and the notes' texts ("possible lossy source", "not decoded: %1").
  enum class Text { Album, LossySource, Upsampled, NotDecoded };

  void SetText(Text which, const QString& text);

 private:
  QString TrackText(int row, int column) const;
  QString AlbumText(int column) const;
  QString Notes(int row) const;

  const ReleaseSession& session_;
  QString album_;
  QString lossySource_;
  QString upsampled_;
  QString notDecoded_;
};
