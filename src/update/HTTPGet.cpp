#include "update/HTTPGet.h"

#include "platform/CodePage.h"
#include "update/HTTPGetThread.h"

#include <QCoreApplication>
#include <QPointer>
#include <utility>

THTTPGet::THTTPGet(QObject* parent) : QObject(parent) {}

THTTPGet::~THTTPGet() {
  // Explicitly first: the worker may still post its reports to this object until it is joined.
  worker_.reset();
}

void THTTPGet::GetFile() {
  Start(true);
}

void THTTPGet::GetString() {
  Start(false);
}

void THTTPGet::Abort() {
  if (worker_)
    worker_->Stop();
}

void THTTPGet::Start(bool toFile) {
  if (Busy())
    return;
  // The worker's reports become events of this object's thread, which run in the order posted.
  auto progress = [this](int64_t totalSize, int64_t readed) {
    QMetaObject::invokeMethod(
        this, [this, totalSize, readed] { emit OnProgress(totalSize, readed); },
        Qt::QueuedConnection);
  };
  auto finished = [this, toFile, fileName = FileName] {
    QMetaObject::invokeMethod(
        this, [this, toFile, fileName] { Finish(toFile, fileName); }, Qt::QueuedConnection);
  };
  const HTTPGetProperties& properties = *this;
  worker_ = std::make_unique<THTTPGetThread>(properties, toFile, CodePage::System(),
                                             std::move(progress), std::move(finished));
  if (WaitThread)
    WaitForEnd();
}

void THTTPGet::WaitForEnd() {
  // A handler that runs meanwhile may delete the component.
  const QPointer<THTTPGet> self(this);
  while (self && self->Busy())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void THTTPGet::Finish(bool toFile, const QString& fileName) {
  // Idle before the events, so that a handler may start the next download or delete the
  // component.
  const HTTPOutcome outcome = std::exchange(worker_, nullptr)->TakeOutcome();
  if (!outcome.Success)
    emit OnError();
  else if (toFile)
    emit OnDoneFile(fileName, outcome.ContentLength);
  else
    emit OnDoneString(CodePage::System().ToUnicode(outcome.Text));
}
