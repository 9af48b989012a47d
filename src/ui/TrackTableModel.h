#pragma once

#include "session/ReleaseSession.h"
#include "ui/CaptionedTableModel.h"

#include <QIcon>
#include <QStringList>

// The track list of page 2 over the session's rows: a row changes when its track has been read or
// its checksum taken, and only that row is drawn anew. Rows whose stream could not be read carry
// a warning icon and a tooltip that says so.
class TrackTableModel : public CaptionedTableModel {
  Q_OBJECT

 public:
  // The disc column comes last in the model; the view shows it first, and only for the tracks of
  // several discs.
  enum Column {
    kFile,
    kArtist,
    kTitle,
    kAlbum,
    kSize,
    kTime,
    kBitrate,
    kChecksum,
    kDisc,
    kColumnCount
  };

  explicit TrackTableModel(const ReleaseSession& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void SetUnreadableText(const QString& text) { unreadableText_ = text; }

 private:
  bool Unreadable(int row) const;

  const ReleaseSession& session_;
  QString unreadableText_;
  QIcon warning_;
};
