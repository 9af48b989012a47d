#include "session/ListCheck.h"

#include "analysis/FolderScan.h"
#include "extras/ReleaseExtras.h"

#include <QDir>
#include <cmath>

std::vector<ListToCheck> ListsOfFolder(const QString& folder) {
  // The disc folders are the ones the scan would take as the release's discs.
  ScanState scan;
  ScanFolder(scan, folder);
  std::vector<ListToCheck> lists;
  const QDir top(folder);
  for (const QString& name : FindExtras(folder).Lists)
    lists.push_back({top.filePath(name), QString()});
  for (const QString& disc : scan.Discs) {
    const QDir discFolder(top.filePath(disc));
    for (const QString& name : FindExtras(discFolder.path()).Lists)
      lists.push_back({discFolder.filePath(name), disc});
  }
  return lists;
}

ListCheckPass::ListCheckPass(std::vector<ListToCheck> lists, FileStarted fileStarted, Notify notify)
    : lists_(std::move(lists)) {
  // One list after the other: the files of a list are read in turn, as the tools that made them
  // expect, and a disc never competes with another for the drive.
  job_ = std::make_unique<OrderedJob<ListVerification>>(
      static_cast<int>(lists_.size()),
      [this, fileStarted](int index, std::stop_token stop) -> std::optional<ListVerification> {
        const ListToCheck& list = lists_[static_cast<size_t>(index)];
        ListVerification result = VerifyChecksumList(
            list.Path,
            [&](int file, int count, const QString& name) {
              if (fileStarted)
                fileStarted(list.Folder, name,
                            count > 0 ? static_cast<int>(std::lround(100.0 * file / count)) : 0);
            },
            stop);
        if (result.Stopped)
          return std::nullopt;
        return result;
      },
      std::move(notify), 1);
}

ListCheckPass::~ListCheckPass() = default;

void ListCheckPass::TakeReady() {
  for (auto& item : job_->TakeReady())
    results_.push_back({lists_[static_cast<size_t>(item.Index)].Folder, std::move(item.Value)});
}
