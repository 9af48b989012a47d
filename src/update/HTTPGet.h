#pragma once

#include "update/HTTPGetProperties.h"

#include <QObject>
#include <QString>
#include <memory>

class THTTPGetThread;

// The HTTP download component: fetches one URL into a file or a text on a worker thread. The
// properties are its public members; the events are signals, delivered on the thread the
// component lives in, in the order they happened.
class THTTPGet : public QObject, public HTTPGetProperties {
  Q_OBJECT

 public:
  explicit THTTPGet(QObject* parent = nullptr);
  // Stops a running download and waits for its worker, which takes about a second at most.
  ~THTTPGet() override;

  // Downloads URL into FileName. Does nothing while a download of this component runs.
  void GetFile();
  // Downloads URL into a text (OnDoneString). Does nothing while a download runs.
  void GetString();
  // Asks a running download to stop; it then ends in OnError.
  void Abort();
  bool Busy() const { return worker_ != nullptr; }

 signals:
  // After every piece of the body: the Content-Length value (0 when none) and the bytes so far.
  void OnProgress(qint64 totalSize, qint64 readed);
  // A file download succeeded; fileSize is the Content-Length value.
  void OnDoneFile(const QString& fileName, qint64 fileSize);
  // A text download succeeded; the body in the system's code page.
  void OnDoneString(const QString& result);
  // A download failed or was stopped.
  void OnError();

 private:
  void Start(bool toFile);
  void WaitForEnd();
  void Finish(bool toFile, const QString& fileName);

  std::unique_ptr<THTTPGetThread> worker_;
};
