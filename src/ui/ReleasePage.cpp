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

template <class Widget>
std::function<void(const QString&)> TitleSetter(Widget* widget) {
  return [widget](const QString& text) { widget->setTitle(text); };
}

template <class Widget>
std::function<void(const QString&)> TextSetter(Widget* widget) {
  return [widget](const QString& text) { widget->setText(text); };
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

  // Whatever is typed as the ripper is the poster too, until the poster is typed over.
  connect(rippedBy_, &QLineEdit::textEdited, postedBy_, &QLineEdit::setText);
  connect(includeNote_, &QCheckBox::toggled, this, &ReleasePage::FollowIncludeNote);
  connect(includePar_, &QCheckBox::clicked, this, [this](bool checked) {
    if (checked)
      includePar2_->setChecked(false);
  });
  connect(includePar2_, &QCheckBox::clicked, this, [this](bool checked) {
    if (checked)
      includePar_->setChecked(false);
  });
  connect(addGroup_, &QPushButton::clicked, this, &ReleasePage::AddSelectedGroup);
  connect(removeGroup_, &QPushButton::clicked, this, &ReleasePage::RemoveSelectedGroup);
}

QLabel* ReleasePage::Label(const char* name, const QString& caption, Caption captionId,
                           QWidget* buddy, QWidget* parent) {
  QLabel* made = CaptionLabel(name, caption, buddy, parent);
  captions_[captionId] = TextSetter(made);
  return made;
}

QWidget* ReleasePage::NewInfoGroup() {
  auto* group = new QGroupBox(QStringLiteral("Dodatkowe informacje"), this);
  captions_[Caption::InfoGroup] = TitleSetter(group);
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(3);
  rippedBy_ = NamedLineEdit("RippedBy", group);
  ripDate_ = NamedDatePicker("RipDate", group);
  rippedByLabel_ =
      Label("RippedByLabel", QStringLiteral("Zripował:"), Caption::RippedByLabel, rippedBy_, group);
  ripDateLabel_ = Label("RipDateLabel", QStringLiteral("Data ripowania:"), Caption::RipDateLabel,
                        ripDate_, group);
  grid->addWidget(rippedByLabel_, 0, 0);
  grid->addWidget(rippedBy_, 0, 1);
  grid->addWidget(ripDateLabel_, 0, 2);
  grid->addWidget(ripDate_, 0, 3);

  postedBy_ = NamedLineEdit("PostedBy", group);
  QDateEdit* postDate = NamedDatePicker("PostDate", group);
  grid->addWidget(Label("PostedByLabel", QStringLiteral("Postujący:"), Caption::PostedByLabel,
                        postedBy_, group),
                  1, 0);
  grid->addWidget(postedBy_, 1, 1);
  grid->addWidget(Label("PostDateLabel", QStringLiteral("Data postowania:"), Caption::PostDateLabel,
                        postDate, group),
                  1, 2);
  grid->addWidget(postDate, 1, 3);

  QLineEdit* discInfo = NamedLineEdit("DiscInfo", group);
  grid->addWidget(Label("DiscInfoLabel", QStringLiteral("Informacje o płycie:"),
                        Caption::DiscInfoLabel, discInfo, group),
                  2, 0);
  grid->addWidget(discInfo, 2, 1, 1, 3);

  newsServer_ = NamedChoice("NewsServer", group);
  newsServer_->addItems(BuiltInServers());
  newsServer_->setEditText(QString());
  grid->addWidget(Label("NewsServerLabel", QStringLiteral("Serwer news:"), Caption::NewsServerLabel,
                        newsServer_, group),
                  3, 0);
  grid->addWidget(newsServer_, 3, 1, 1, 3);

  group_ = NamedChoice("Group", group);
  group_->addItems(BuiltInGroups());
  group_->setEditText(QStringLiteral("alt.binaries.pl.mp3"));
  addGroup_ = NamedButton("AddGroup", QStringLiteral("+"), group);
  removeGroup_ = NamedButton("RemoveGroup", QStringLiteral("-"), group);
  for (QPushButton* button : {addGroup_, removeGroup_})
    button->setFixedWidth(button->sizeHint().height() + 4);
  auto* groupRow = new QHBoxLayout();
  groupRow->addWidget(group_, 1);
  groupRow->addWidget(addGroup_);
  groupRow->addWidget(removeGroup_);
  grid->addWidget(Label("GroupLabel", QStringLiteral("Grupa:"), Caption::GroupLabel, group_, group),
                  4, 0);
  grid->addLayout(groupRow, 4, 1, 1, 3);

  selectedGroups_ = new QListWidget(group);
  selectedGroups_->setObjectName(QStringLiteral("SelectedGroups"));
  QLabel* selectedLabel = Label("SelectedGroupsLabel", QStringLiteral("Wybrane grupy:"),
                                Caption::SelectedGroupsLabel, selectedGroups_, group);
  selectedLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  grid->addWidget(selectedLabel, 5, 0);
  grid->addWidget(selectedGroups_, 5, 1, 1, 3);
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(1, 1);

  bindings_ << Bound<ReleaseInfo, QString, QLineEdit>{rippedBy_, &ReleaseInfo::RippedBy}
            << Bound<ReleaseInfo, QDate, QDateEdit>{ripDate_, &ReleaseInfo::RipDate}
            << Bound<ReleaseInfo, QString, QLineEdit>{postedBy_, &ReleaseInfo::PostedBy}
            << Bound<ReleaseInfo, QDate, QDateEdit>{postDate, &ReleaseInfo::PostDate}
            << Bound<ReleaseInfo, QString, QLineEdit>{discInfo, &ReleaseInfo::DiscInfo}
            << Bound<ReleaseInfo, QString, QComboBox>{newsServer_, &ReleaseInfo::NewsServer}
            << Bound<ReleaseInfo, QString, QComboBox>{group_, &ReleaseInfo::Group}
            << Bound<ReleaseInfo, QStringList, QListWidget>{selectedGroups_,
                                                            &ReleaseInfo::SelectedGroups};
  return group;
}

QWidget* ReleasePage::NewIncludeGroup() {
  auto* group = new QGroupBox(QStringLiteral("Dołącz pliki"), this);
  captions_[Caption::IncludeGroup] = TitleSetter(group);
  auto* column = new QVBoxLayout(group);
  column->setSpacing(2);
  auto box = [&](const char* name, const QString& caption, std::optional<Caption> captionId,
                 bool ReleaseInfo::*field) {
    QCheckBox* made = NamedCheckBox(name, caption, group);
    if (captionId)
      captions_[*captionId] = TextSetter(made);
    column->addWidget(made);
    bindings_ << Bound<ReleaseInfo, bool, QCheckBox>{made, field};
    return made;
  };
  includeChecksums_ = box("IncludeChecksums", QStringLiteral("Sumy kontrolne"),
                          Caption::IncludeChecksums, &ReleaseInfo::IncludeChecksums);
  box("IncludePls", QStringLiteral("Lista utworów (pls)"), Caption::IncludePls,
      &ReleaseInfo::IncludePls);
  box("IncludeM3u", QStringLiteral("Lista utworów (m3u)"), Caption::IncludeM3u,
      &ReleaseInfo::IncludeM3u);
  box("IncludeEacLog", QStringLiteral("Exact Audio Copy LOG"), std::nullopt,
      &ReleaseInfo::IncludeEacLog);
  includePar_ = box("IncludePar", QStringLiteral("PAR"), std::nullopt, &ReleaseInfo::IncludePar);
  includePar2_ =
      box("IncludePar2", QStringLiteral("PAR v2"), std::nullopt, &ReleaseInfo::IncludePar2);
  box("IncludeCue", QStringLiteral("CUE Sheet"), std::nullopt, &ReleaseInfo::IncludeCue);
  column->addStretch(1);
  return group;
}

QWidget* ReleasePage::NewCoversGroup() {
  auto* group = new QGroupBox(QStringLiteral("Okładki"), this);
  captions_[Caption::CoversGroup] = TitleSetter(group);
  auto* row = new QHBoxLayout(group);
  for (auto [name, caption, captionId, field] :
       {std::tuple{"CoverFront", "Przód", Caption::CoverFront, &ReleaseInfo::CoverFront},
        std::tuple{"CoverBack", "Tył", Caption::CoverBack, &ReleaseInfo::CoverBack},
        std::tuple{"CoverCd", "CD", Caption::CoverCd, &ReleaseInfo::CoverCd}}) {
    QCheckBox* made = NamedCheckBox(name, QString::fromUtf8(caption), group);
    captions_[captionId] = TextSetter(made);
    bindings_ << Bound<ReleaseInfo, bool, QCheckBox>{made, field};
    row->addWidget(made);
  }
  row->addStretch(1);
  return group;
}

QWidget* ReleasePage::NewNoteGroup() {
  noteGroup_ = new QGroupBox(QStringLiteral("Notatka"), this);
  captions_[Caption::NoteGroup] = TitleSetter(noteGroup_);
  auto* column = new QVBoxLayout(noteGroup_);
  includeNote_ = NamedCheckBox("IncludeNote", QStringLiteral("Dołącz notatkę"), noteGroup_);
  includeNote_->setChecked(true);
  captions_[Caption::IncludeNote] = TextSetter(includeNote_);
  noteText_ = new QPlainTextEdit(QStringLiteral("Write anything you want...."), noteGroup_);
  noteText_->setObjectName(QStringLiteral("NoteText"));
  noteText_->setTabChangesFocus(true);
  noteText_->setMinimumHeight(noteText_->fontMetrics().height() * 3);
  column->addWidget(includeNote_);
  column->addWidget(noteText_, 1);
  bindings_ << Bound<ReleaseInfo, bool, QCheckBox>{includeNote_, &ReleaseInfo::IncludeNote}
            << Bound<ReleaseInfo, QString, QPlainTextEdit>{noteText_, &ReleaseInfo::NoteText};
  return noteGroup_;
}

QWidget* ReleasePage::NewNamesGroup() {
  auto* group = new QGroupBox(QStringLiteral("_Nazwy plików"), this);
  captions_[Caption::NamesGroup] = TitleSetter(group);
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(2);
  QLineEdit* fileNameTemplate = NamedLineEdit("FileNameTemplate", group);
  fileNameTemplate->setText(QStringLiteral("00. %author% - %album%"));
  grid->addWidget(Label("FileNameTemplateLabel", QStringLiteral("Nazwy plików:"),
                        Caption::FileNameTemplateLabel, fileNameTemplate, group),
                  0, 0);
  grid->addWidget(fileNameTemplate, 0, 1, 1, 6);
  grid->addWidget(new QLabel(QStringLiteral("[nfo/m3u/pls/sfv/md5]"), group), 0, 7);
  int column = 1;
  for (auto [name, caption, captionId, placeholder] :
       {std::tuple{"AuthorLegend", "Author:", Caption::AuthorLegend, "%author%"},
        std::tuple{"AlbumLegend", "Album:", Caption::AlbumLegend, "%album%"},
        std::tuple{"TitleLegend", "Title:", Caption::TitleLegend, "%title%"}}) {
    auto* legend = new QLabel(QString::fromLatin1(caption), group);
    legend->setObjectName(QString::fromLatin1(name));
    legends_[captionId] = TextSetter(legend);
    grid->addWidget(legend, 1, column++, Qt::AlignRight);
    grid->addWidget(new QLabel(QString::fromLatin1(placeholder), group), 1, column++);
  }
  grid->setColumnStretch(7, 1);
  bindings_ << Bound<ReleaseInfo, QString, QLineEdit>{fileNameTemplate,
                                                      &ReleaseInfo::FileNameTemplate};
  return group;
}

void ReleasePage::ShowChoices(const ChoiceLists& lists) {
  for (auto [combo, items] :
       {std::pair{newsServer_, &lists.NewsServers}, std::pair{group_, &lists.Groups}}) {
    if (!items->isEmpty())  // without a list file the form's own list stays
      ReplaceChoices(combo, *items);
  }
}

void ReleasePage::FollowIncludeNote() {
  noteText_->setReadOnly(!includeNote_->isChecked());
}

void ReleasePage::FollowNmr(bool nmr) {
  for (QWidget* control :
       {static_cast<QWidget*>(rippedByLabel_), static_cast<QWidget*>(ripDateLabel_),
        static_cast<QWidget*>(rippedBy_), static_cast<QWidget*>(ripDate_)}) {
    control->setEnabled(!nmr);
  }
}

void ReleasePage::SetChecksumsAvailable(bool available) {
  includeChecksums_->setEnabled(available);
}

void ReleasePage::AddSelectedGroup() {
  const QString group = group_->currentText();
  if (selectedGroups_->findItems(group, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
    selectedGroups_->addItem(group);
}

void ReleasePage::RemoveSelectedGroup() {
  const QList<QListWidgetItem*> selected = selectedGroups_->selectedItems();
  if (!selected.isEmpty())
    delete selected.first();
}

QList<FieldBinding> ReleasePage::Bindings() {
  return bindings_;
}

CaptionSetters ReleasePage::Captions() {
  return captions_;
}

CaptionSetters ReleasePage::LegendCaptions() {
  return legends_;
}

QList<CaptionOwner> ReleasePage::CaptionOwners() const {
  return {{noteText_, [this] { return noteGroup_->title(); }}};
}
