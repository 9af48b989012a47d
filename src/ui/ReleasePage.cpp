#include "ui/ReleasePage.h"

#include "ui/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The form's own choices, until the list files replace them.
QStringList BuiltInServers() {
  return {QStringLiteral("news.tpi.example.pl"),     QStringLiteral("news.onet.example.pl"),
          QStringLiteral("news.interia.example.pl"), QStringLiteral("news.gazeta.example.pl"),
          QStringLiteral("news.wp.example.pl"),      QStringLiteral("news.task.example.pl"),
          QStringLiteral("news.icm.example.pl"),     QStringLiteral("news.uni.example.pl"),
          QStringLiteral("news.chello.example.pl"),  QStringLiteral("news.aster.example.pl"),
          QStringLiteral("news.netia.example.pl")};
}

QStringList BuiltInGroups() {
  return {QStringLiteral("alt.binaries.pl.mp3"), QStringLiteral("alt.binaries.sounds.mp3"),
          QStringLiteral("pl.binaries.mp3")};
}

void SetText(QLabel* label, const QString& text) {
  label->setText(text);
}

}  // namespace

ReleasePage::ReleasePage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PageRelease"));
  auto* page = new QGridLayout(this);
  page->addWidget(NewInfoGroup(), 0, 0, 2, 1);
  page->addWidget(NewIncludeGroup(), 0, 1);
  page->addWidget(NewCoversGroup(), 1, 1);
  page->addWidget(NewNoteGroup(), 2, 0, 1, 2);
  page->addWidget(NewNamesGroup(), 3, 0, 1, 2);
  page->setColumnStretch(0, 3);
  page->setColumnStretch(1, 1);
  page->setRowStretch(2, 1);

  connect(RippedBy, &QLineEdit::textEdited, PostedBy, &QLineEdit::setText);
  connect(IncludeNote, &QCheckBox::clicked, this, &ReleasePage::FollowIncludeNote);
  connect(IncludePar, &QCheckBox::clicked, this, [this](bool checked) {
    if (checked)
      IncludePar2->setChecked(false);
  });
  connect(IncludePar2, &QCheckBox::clicked, this, [this](bool checked) {
    if (checked)
      IncludePar->setChecked(false);
  });
  connect(AddGroup, &QPushButton::clicked, this, &ReleasePage::AddSelectedGroup);
  connect(RemoveGroup, &QPushButton::clicked, this, &ReleasePage::RemoveSelectedGroup);
}

QWidget* ReleasePage::NewInfoGroup() {
  InfoGroup = new QGroupBox(QStringLiteral("Dodatkowe informacje"), this);
  keys_.append({"GROUPBOXES", "4006", [this](const QString& text) { InfoGroup->setTitle(text); }});
  auto* grid = new QGridLayout(InfoGroup);
  grid->setVerticalSpacing(3);
  auto label = [&](const char* name, const QString& caption, const char* key, QWidget* buddy) {
    QLabel* made = CaptionLabel(name, caption, buddy, InfoGroup);
    keys_.append({"LABELS", key, [made](const QString& text) { SetText(made, text); }});
    return made;
  };
  RippedBy = NamedLineEdit("RippedBy", InfoGroup);
  RipDate = NamedDatePicker("RipDate", InfoGroup);
  RippedByLabel = label("RippedByLabel", QStringLiteral("Zripował:"), "6018", RippedBy);
  RipDateLabel = label("RipDateLabel", QStringLiteral("Data ripowania:"), "6019", RipDate);
  grid->addWidget(RippedByLabel, 0, 0);
  grid->addWidget(RippedBy, 0, 1);
  grid->addWidget(RipDateLabel, 0, 2);
  grid->addWidget(RipDate, 0, 3);

  PostedBy = NamedLineEdit("PostedBy", InfoGroup);
  PostDate = NamedDatePicker("PostDate", InfoGroup);
  grid->addWidget(label("PostedByLabel", QStringLiteral("Postujący:"), "6020", PostedBy), 1, 0);
  grid->addWidget(PostedBy, 1, 1);
  grid->addWidget(label("PostDateLabel", QStringLiteral("Data postowania:"), "6021", PostDate), 1,
                  2);
  grid->addWidget(PostDate, 1, 3);

  QLineEdit* discInfo = NamedLineEdit("DiscInfo", InfoGroup);
  grid->addWidget(label("DiscInfoLabel", QStringLiteral("Informacje o płycie:"), "6022", discInfo),
                  2, 0);
  grid->addWidget(discInfo, 2, 1, 1, 3);

  NewsServer = NamedChoice("NewsServer", InfoGroup);
  NewsServer->addItems(BuiltInServers());
  NewsServer->setEditText(QString());
  grid->addWidget(label("NewsServerLabel", QStringLiteral("Serwer news:"), "6023", NewsServer), 3,
                  0);
  grid->addWidget(NewsServer, 3, 1, 1, 3);

  Group = NamedChoice("Group", InfoGroup);
  Group->addItems(BuiltInGroups());
  Group->setEditText(QStringLiteral("alt.binaries.pl.mp3"));
  AddGroup = NamedButton("AddGroup", QStringLiteral("+"), InfoGroup);
  RemoveGroup = NamedButton("RemoveGroup", QStringLiteral("-"), InfoGroup);
  for (QPushButton* button : {AddGroup, RemoveGroup})
    button->setFixedWidth(button->sizeHint().height() + 4);
  auto* groupRow = new QHBoxLayout();
  groupRow->addWidget(Group, 1);
  groupRow->addWidget(AddGroup);
  groupRow->addWidget(RemoveGroup);
  grid->addWidget(label("GroupLabel", QStringLiteral("Grupa:"), "6024", Group), 4, 0);
  grid->addLayout(groupRow, 4, 1, 1, 3);

  SelectedGroups = new QListWidget(InfoGroup);
  SelectedGroups->setObjectName(QStringLiteral("SelectedGroups"));
  QLabel* selectedLabel =
      label("SelectedGroupsLabel", QStringLiteral("Wybrane grupy:"), "6027", SelectedGroups);
  selectedLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  grid->addWidget(selectedLabel, 5, 0);
  grid->addWidget(SelectedGroups, 5, 1, 1, 3);
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(1, 1);
  return InfoGroup;
}

QWidget* ReleasePage::NewIncludeGroup() {
  IncludeGroup = new QGroupBox(QStringLiteral("Dołącz pliki"), this);
  keys_.append(
      {"GROUPBOXES", "4009", [this](const QString& text) { IncludeGroup->setTitle(text); }});
  auto* column = new QVBoxLayout(IncludeGroup);
  column->setSpacing(2);
  auto box = [&](const char* name, const QString& caption, const char* key) {
    QCheckBox* made = NamedCheckBox(name, caption, IncludeGroup);
    if (key)
      keys_.append({"CHECKBOXES", key, [made](const QString& text) { made->setText(text); }});
    column->addWidget(made);
    return made;
  };
  IncludeChecksums = box("IncludeChecksums", QStringLiteral("Sumy kontrolne"), "7003");
  box("IncludePls", QStringLiteral("Lista utworów (pls)"), "7004");
  box("IncludeM3u", QStringLiteral("Lista utworów (m3u)"), "7005");
  box("IncludeEacLog", QStringLiteral("Exact Audio Copy LOG"), nullptr);
  IncludePar = box("IncludePar", QStringLiteral("PAR"), nullptr);
  IncludePar2 = box("IncludePar2", QStringLiteral("PAR v2"), nullptr);
  box("IncludeCue", QStringLiteral("CUE Sheet"), nullptr);
  column->addStretch(1);
  return IncludeGroup;
}

QWidget* ReleasePage::NewCoversGroup() {
  CoversGroup = new QGroupBox(QStringLiteral("Okładki"), this);
  keys_.append(
      {"GROUPBOXES", "4010", [this](const QString& text) { CoversGroup->setTitle(text); }});
  auto* row = new QHBoxLayout(CoversGroup);
  for (auto [name, caption, key] :
       {std::tuple{"CoverFront", "Przód", "7006"}, std::tuple{"CoverBack", "Tył", "7007"},
        std::tuple{"CoverCd", "CD", "7008"}}) {
    QCheckBox* made = NamedCheckBox(name, QString::fromUtf8(caption), CoversGroup);
    keys_.append({"CHECKBOXES", key, [made](const QString& text) { made->setText(text); }});
    row->addWidget(made);
  }
  row->addStretch(1);
  return CoversGroup;
}

QWidget* ReleasePage::NewNoteGroup() {
  NoteGroup = new QGroupBox(QStringLiteral("Notatka"), this);
  keys_.append({"GROUPBOXES", "4007", [this](const QString& text) { NoteGroup->setTitle(text); }});
  auto* column = new QVBoxLayout(NoteGroup);
  IncludeNote = NamedCheckBox("IncludeNote", QStringLiteral("Dołącz notatkę"), NoteGroup);
  IncludeNote->setChecked(true);
  keys_.append({"CHECKBOXES", "7001", [this](const QString& text) { IncludeNote->setText(text); }});
  NoteText = new QPlainTextEdit(QStringLiteral("Write anything you want...."), NoteGroup);
  NoteText->setObjectName(QStringLiteral("NoteText"));
  NoteText->setTabChangesFocus(true);
  NoteText->setMinimumHeight(NoteText->fontMetrics().height() * 3);
  column->addWidget(IncludeNote);
  column->addWidget(NoteText, 1);
  return NoteGroup;
}

QWidget* ReleasePage::NewNamesGroup() {
  NamesGroup = new QGroupBox(QStringLiteral("_Nazwy plików"), this);
  keys_.append({"LABELS", "6029", [this](const QString& text) { NamesGroup->setTitle(text); }});
  auto* grid = new QGridLayout(NamesGroup);
  grid->setVerticalSpacing(2);
  FileNameTemplate = NamedLineEdit("FileNameTemplate", NamesGroup);
  FileNameTemplate->setText(QStringLiteral("00. %author% - %album%"));
  QLabel* label = CaptionLabel("FileNameTemplateLabel", QStringLiteral("Nazwy plików:"),
                               FileNameTemplate, NamesGroup);
  keys_.append({"LABELS", "6025", [label](const QString& text) { SetText(label, text); }});
  grid->addWidget(label, 0, 0);
  grid->addWidget(FileNameTemplate, 0, 1, 1, 6);
  grid->addWidget(new QLabel(QStringLiteral("[nfo/m3u/pls/sfv/md5]"), NamesGroup), 0, 7);
  int column = 1;
  for (auto [name, caption, key, placeholder] :
       {std::tuple{"AuthorLegend", "Author:", "3002", "%author%"},
        std::tuple{"AlbumLegend", "Album:", "3004", "%album%"},
        std::tuple{"TitleLegend", "Title:", "3003", "%title%"}}) {
    auto* legend = new QLabel(QString::fromLatin1(caption), NamesGroup);
    legend->setObjectName(QString::fromLatin1(name));
    keys_.append({"LISTVIEW", key, [legend](const QString& text) { SetText(legend, text); }, true});
    grid->addWidget(legend, 1, column++, Qt::AlignRight);
    grid->addWidget(new QLabel(QString::fromLatin1(placeholder), NamesGroup), 1, column++);
  }
  grid->setColumnStretch(7, 1);
  return NamesGroup;
}

void ReleasePage::ShowChoices(const ChoiceLists& lists) {
  for (auto [combo, items] :
       {std::pair{NewsServer, &lists.NewsServers}, std::pair{Group, &lists.Groups}}) {
    if (!items->isEmpty())  // without a list file the form's own list stays
      ReplaceChoices(combo, *items);
  }
}

void ReleasePage::FollowIncludeNote() {
  NoteText->setReadOnly(!IncludeNote->isChecked());
}

void ReleasePage::FollowNmr(bool nmr) {
  for (QWidget* control :
       {static_cast<QWidget*>(RippedByLabel), static_cast<QWidget*>(RipDateLabel),
        static_cast<QWidget*>(RippedBy), static_cast<QWidget*>(RipDate)}) {
    control->setEnabled(!nmr);
  }
}

void ReleasePage::AddSelectedGroup() {
  const QString group = Group->currentText();
  if (SelectedGroups->findItems(group, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
    SelectedGroups->addItem(group);
}

void ReleasePage::RemoveSelectedGroup() {
  const QList<QListWidgetItem*> selected = SelectedGroups->selectedItems();
  if (!selected.isEmpty())
    delete selected.first();
}

QList<CaptionKey> ReleasePage::CaptionKeys() {
  return keys_;
}

QList<CaptionOwner> ReleasePage::CaptionOwners() const {
  return {{NoteText, [this] { return NoteGroup->title(); }}};
}
