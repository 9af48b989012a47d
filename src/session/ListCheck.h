#pragma once

#include "extras/ListVerification.h"
#include "platform/OrderedJob.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// "Sprawdź sumy kontrolne" and velmora-cli --verify: every SFV and MD5 list of a release's folder
// and its disc folders checked against the files beside it, one list after the other on a worker
// thread.

// A list to check: its path and its folder relative to the release's folder.
struct ListToCheck {
  QString Path;
  QString Folder;
};
// The lists of a folder and of its disc folders, in that order.
std::vector<ListToCheck> ListsOfFolder(const QString& folder);

class ListCheckPass {
 public:
  // Called on the worker before each file: the list's folder, the name as listed, and how far
  // the list has got (0 to 100).
  using FileStarted = std::function<void(const QString& folder, const QString& name, int percent)>;
  using Notify = std::function<void()>;

  ListCheckPass(std::vector<ListToCheck> lists, FileStarted fileStarted, Notify notify);
  ~ListCheckPass();
  ListCheckPass(const ListCheckPass&) = delete;
  ListCheckPass& operator=(const ListCheckPass&) = delete;

  // Takes the lists checked so far; throws a list's failure (ChecksumUnavailable) in its turn.
  void TakeReady();
  void Stop() { job_->RequestStop(); }
  bool Done() const { return job_->Done(); }
  bool Completed() const { return job_->Completed(); }
  const std::vector<FolderVerification>& Results() const { return results_; }

 private:
  std::vector<ListToCheck> lists_;
  std::vector<FolderVerification> results_;
  std::unique_ptr<OrderedJob<ListVerification>> job_;
};
