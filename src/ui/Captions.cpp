#include "ui/Captions.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

bool Is(const char* a, const char* b) {
  return std::strcmp(a, b) == 0;
}

int Stage(const CaptionEntry& entry) {
  if (entry.Window == CaptionWindow::MainLegend)
    return 12;
  const char* section = entry.Section;
  if (Is(section, "MENU"))
    return 0;
  if (Is(section, "TABSHEETS"))
    return 1;
  if (Is(section, "LABELS") && Is(entry.Key, "6013"))
    return 2;
  if (Is(section, "GENERAL"))
    return 3;
  if (Is(section, "LISTVIEW"))
    return 4;
  if (Is(section, "GROUPBOXES"))
    return 5;
  if (Is(section, "LABELS") && Is(entry.Key, "6029"))
    return 6;
  if (Is(section, "BUTTONS"))
    return 7;
  if (Is(section, "LABELS"))
    return 8;
  if (Is(section, "CHECKBOXES"))
    return 9;
  if (Is(section, "FORMS"))
    return 10;
  return 11;  // TEXTS
}

std::vector<CaptionEntry> SortedTable() {
  std::vector<CaptionEntry> table = {
#define VELMORA_CAPTION_ENTRY(id, section, key, window) \
  {Caption::id, section, key, CaptionWindow::window},
      VELMORA_CAPTIONS(VELMORA_CAPTION_ENTRY)
#undef VELMORA_CAPTION_ENTRY
  };
  // The keys of each section sort as the language file lists them ("0" < "00" < "02" < "1" …).
  std::stable_sort(table.begin(), table.end(), [](const CaptionEntry& a, const CaptionEntry& b) {
    const int stageA = Stage(a);
    const int stageB = Stage(b);
    return stageA != stageB ? stageA < stageB : std::strcmp(a.Key, b.Key) < 0;
  });
  return table;
}

}  // namespace

std::span<const CaptionEntry> CaptionTable() {
  static const std::vector<CaptionEntry> table = SortedTable();
  return table;
}

void ApplyCaptionTable(const CaptionText& captionText,
                       const std::map<CaptionWindow, CaptionSetters>& windows) {
  for (const CaptionEntry& entry : CaptionTable()) {
    const auto window = windows.find(entry.Window);
    if (window == windows.end())
      continue;  // a window that does not exist (yet)
    const auto setter = window->second.find(entry.Id);
    if (setter == window->second.end())
      continue;
    const QString text = captionText(entry.Section, entry.Key);
    setter->second(entry.Window == CaptionWindow::MainLegend ? text + QLatin1Char(':') : text);
  }
}

QString WithoutMnemonic(const QString& caption) {
  QString plain;
  plain.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    // "&&" stands for one "&"; a single "&" only marks the letter after it.
    if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
      ++i;
    else if (caption[i] == QLatin1Char('&'))
      continue;
    plain.append(caption[i]);
  }
  return plain;
}

void NameControlsAfterCaptions(QWidget* root, const QList<CaptionOwner>& captionOwners) {
  for (QLabel* label : root->findChildren<QLabel*>()) {
    if (label->buddy())
      label->buddy()->setAccessibleName(WithoutMnemonic(label->text()));
  }
  for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
    if (!button->text().isEmpty())
      button->setAccessibleName(WithoutMnemonic(button->text()));
  }
  for (const CaptionOwner& owner : captionOwners)
    owner.Control->setAccessibleName(WithoutMnemonic(owner.Caption()));
}
