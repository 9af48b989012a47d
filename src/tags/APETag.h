#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

class FileStream;

struct APEItem {
  QByteArray Name;
  QByteArray Value;  // UTF-8 in version 2000 tags; at most 250 bytes are kept
};

// Reads an APE tag (versions 1000 and 2000) by its footer at the end of a file or just before an
// ID3v1 tag, keeping every item as a name and value.
class TAPETag {
 public:
  TAPETag() { ResetData(); }

  // False when the file cannot be opened or 32 footer bytes cannot be read where the footer
  // belongs; true with or without a tag.
  bool ReadFromFile(const QString& fileName);
  // The same on a stream its caller has open already.
  bool ReadFromStream(const FileStream& stream);
  void ResetData();

  bool Exists() const { return data_.exists; }
  int32_t Version() const { return data_.version; }
  // The footer's size field: bytes of items plus footer, without a header.
  int64_t Size() const { return data_.size; }
  const std::vector<APEItem>& Items() const { return data_.items; }
  // The value of the first item whose name matches with ASCII letters upper-cased; empty if none.
  QByteArray GetValue(const QByteArray& name) const;

 private:
  void ReadItems(const FileStream& stream, int64_t itemsStart, int64_t itemsEnd,
                 uint32_t itemCount);

  struct Data {
    std::vector<APEItem> items;
    bool exists = false;
    int32_t version = 0;
    int64_t size = 0;
  };
  Data data_;
};
