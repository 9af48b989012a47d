#include "ui/MainWindow.h"

#include "audio/picture/SpectrogramPicture.h"
#include "platform/FileError.h"
#include "platform/ProductInfo.h"
#include "ui/AboutBox.h"
#include "ui/DiffFilesDialog.h"
#include "ui/FieldBinding.h"
#include "ui/FolderPage.h"
#include "ui/LeftOutDialog.h"
#include "ui/NfoPage.h"
#include "ui/OptionsDialog.h"
#include "ui/Pictures.h"
#include "ui/QualityPage.h"
#include "ui/QualityTableModel.h"
#include "ui/ReleasePage.h"
#include "ui/SpectrogramWindow.h"
#include "ui/TrackTableModel.h"
#include "ui/TracksPage.h"
#include "ui/VerificationWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace {

enum PageIndex {
  kFolderPage = 0,
  kTracksPage = 1,
  kQualityPage = 2,
  kReleasePage = 3,
  kNfoPage = 4
};

// While tracks are read, the summary's controls are shown anew at most this often: a thousand
// tracks must not mean a thousand redraws of every field.
constexpr std::chrono::milliseconds kSummaryRefresh{100};

QAction* NamedAction(QMenu* menu, const char* name, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

std::function<void(const QString&)> TabSetter(QTabWidget* tabs, int index) {
  return [tabs, index](const QString& text) { tabs->setTabText(index, text); };
}

}  // namespace

QString DonationAddress() {
  return ProductWebAddress() + QStringLiteral("/music/coffee-for-author/");
}

MainWindow::MainWindow(ReleaseSession& session, WindowPrompts& prompts, const QString& programDir,
                       Clock clock, const UpdateCheckPlaces& updatePlaces)
    : session_(session),
      prompts_(prompts),
      programDir_(programDir),
      clock_(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); })) {
  setObjectName(QStringLiteral("Main"));
  const StartupSettings& startup = session_.Open(programDir, clock_());
  setWindowTitle(ProgramNameAndVersion());

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("Pages"));
  folder_ = new FolderPage(pages_);
  tracks_ = new TracksPage(pages_);
  quality_ = new QualityPage(pages_);
  release_ = new ReleasePage(pages_);
  nfo_ = new NfoPage(pages_);
  // The tabs' captions come from the language file only.
  for (QWidget* page : {static_cast<QWidget*>(folder_), static_cast<QWidget*>(tracks_),
                        static_cast<QWidget*>(quality_), static_cast<QWidget*>(release_),
                        static_cast<QWidget*>(nfo_)}) {
    pages_->addTab(page, QString());
  }
  pages_->setTabVisible(kQualityPage, false);
  pages_->setTabVisible(kNfoPage, false);
  setCentralWidget(pages_);
  BuildMenu();
  status_ = new QLabel(QStringLiteral("NFO not saved!"), this);
  status_->setObjectName(QStringLiteral("StatusText"));
  statusBar()->addWidget(status_, 1);
  unreadable_ = new QLabel(this);
  unreadable_->setObjectName(QStringLiteral("UnreadableTracks"));
  unreadableText_ = QStringLiteral("Nie odczytano utworów: %1");
  statusBar()->addPermanentWidget(unreadable_);
  unreadable_->hide();

  trackModel_ = new TrackTableModel(session_, this);
  tracks_->SetTrackModel(trackModel_);
  qualityModel_ = new QualityTableModel(session_, this);
  quality_->SetModel(qualityModel_);
  spectrogramsSavedText_ = QStringLiteral("Zapisano spektrogramy: %1");
  noListsText_ = QStringLiteral("Katalog nie zawiera listy SFV ani MD5.");
  binder_ = new FieldBinder(session_, this);
  binder_->Add(tracks_->Bindings());
  binder_->Add(release_->Bindings());
  summaryRefresh_ = new QTimer(this);
  summaryRefresh_->setSingleShot(true);
  summaryRefresh_->setInterval(kSummaryRefresh);
  connect(summaryRefresh_, &QTimer::timeout, binder_, &FieldBinder::ShowAll);

  resize(startup.Width, startup.Height);
  tracks_->ShowChoices(session_.Lists());
  release_->ShowChoices(session_.Lists());
  folder_->ShowDonation(ProgramPicture(programDir, QStringLiteral("donate.jpg")));
  ShowRelease();
  ConnectPages();
  ConnectSession();
  StartUpdateCheck(updatePlaces, startup.CheckUpdate);
  // The job starts with choosing a folder.
  folder_->FocusBrowse();
  setAcceptDrops(true);
  acceptDrops_ = true;
}

MainWindow::~MainWindow() {
  // The picture writer posts to this window: it ends first.
  pictureWriter_.request_stop();
  if (pictureWriter_.joinable())
    pictureWriter_.join();
}

void MainWindow::StartUpdateCheck(const UpdateCheckPlaces& places, bool checkUpdate) {
  // The download runs in the background; start-up goes on at once and a failure says nothing.
  updateCheck_ = std::make_unique<UpdateCheck>(places);
  connect(updateCheck_.get(), &UpdateCheck::NewVersionAvailable, this,
          [this](const QString& caption, const QString& text) {
            prompts_.ShowMessage(this, text, caption, WindowPrompts::Icon::None);
          });
  updateCheck_->Start(checkUpdate);
}

void MainWindow::BuildMenu() {
  fileMenu_ = menuBar()->addMenu(QStringLiteral("&Plik"));
  fileMenu_->setObjectName(QStringLiteral("MenuFile"));
  save_ = NamedAction(fileMenu_, "MenuSave", QStringLiteral("&Zapisz"));
  verify_ = NamedAction(fileMenu_, "MenuVerify", QStringLiteral("&Sprawdź sumy kontrolne"));
  fileMenu_->addSeparator();
  exit_ = NamedAction(fileMenu_, "MenuExit", QStringLiteral("&Wyjście"));
  optionsMenu_ = menuBar()->addMenu(QStringLiteral("&Opcje"));
  optionsMenu_->setObjectName(QStringLiteral("MenuOptions"));
  settings_ = NamedAction(optionsMenu_, "MenuSettings", QStringLiteral("Ustawienia"));
  helpMenu_ = menuBar()->addMenu(QStringLiteral("&Pomoc"));
  helpMenu_->setObjectName(QStringLiteral("MenuHelp"));
  aboutAction_ = NamedAction(helpMenu_, "MenuAbout", QStringLiteral("&O programie"));
}

void MainWindow::ConnectPages() {
  connect(folder_, &FolderPage::BrowseRequested, this, &MainWindow::BrowseForFolder);
  connect(folder_, &FolderPage::NextRequested, this, &MainWindow::StartAnalysis);
  connect(folder_, &FolderPage::DonationClicked, this,
          [this] { prompts_.OpenAddress(DonationAddress()); });
  connect(tracks_, &TracksPage::NextRequested, this,
          [this] { pages_->setCurrentIndex(kReleasePage); });
  connect(tracks_, &TracksPage::NmrClicked, release_, &ReleasePage::FollowNmr);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == kNfoPage)
      ComposePreview();
  });
  connect(quality_, &QualityPage::RowSelected, this, &MainWindow::ShowSelectedSpectrogram);
  connect(quality_, &QualityPage::EnlargeRequested, this, [this] {
    spectrogram_->SetPicture(quality_->Spectrogram());
    ShowSecondary(spectrogram_.get());
  });
  connect(quality_, &QualityPage::SaveSpectrogramsRequested, this, &MainWindow::SaveSpectrograms);
  connect(nfo_, &NfoPage::SaveRequested, this, &MainWindow::SaveFromPage);
  connect(nfo_, &NfoPage::TextEdited, this,
          [this](const QString& text) { session_.SetNfoText(text); });
  connect(save_, &QAction::triggered, this, &MainWindow::SaveFromMenu);
  connect(verify_, &QAction::triggered, this, &MainWindow::VerifyLists);
  connect(exit_, &QAction::triggered, this, &QWidget::close);
  connect(settings_, &QAction::triggered, this, [this] { ShowSecondary(options_.get()); });
  connect(aboutAction_, &QAction::triggered, this, [this] { ShowSecondary(about_.get()); });
}

void MainWindow::ConnectSession() {
  connect(&session_, &ReleaseSession::Scanned, this, &MainWindow::ShowScan);
  connect(&session_, &ReleaseSession::AnalysisStarted, this, &MainWindow::ShowAnalysisStart);
  connect(&session_, &ReleaseSession::TrackRead, this, [this](int row) {
    trackModel_->RowChanged(row);
    if (!summaryRefresh_->isActive())
      summaryRefresh_->start();
  });
  connect(&session_, &ReleaseSession::ChecksumTaken, trackModel_, &TrackTableModel::RowChanged);
  connect(&session_, &ReleaseSession::AudioPassStarted, qualityModel_, &QualityTableModel::Reset);
  connect(&session_, &ReleaseSession::LogCheckFinished, this,
          [this] { folder_->ShowExtras(session_.ExtrasSummary()); });
  connect(&session_, &ReleaseSession::VerificationFinished, this, &MainWindow::ShowVerification);
  connect(&session_, &ReleaseSession::AudioMeasured, qualityModel_, &QualityTableModel::RowChanged);
  connect(&session_, &ReleaseSession::Progress, folder_, &FolderPage::ShowProgress);
  connect(&session_, &ReleaseSession::AnalysisFinished, this, &MainWindow::ShowAnalysisEnd);
  connect(&session_, &ReleaseSession::StatusChanged, status_, &QLabel::setText);
  connect(&session_, &ReleaseSession::Failed, this,
          [this](const QString& text) { prompts_.ShowError(this, text); });
  connect(&session_, &ReleaseSession::ReleaseChanged, this, &MainWindow::ShowRelease);
}

void MainWindow::CreateDialogs() {
  options_ = std::make_unique<OptionsDialog>(programDir_, prompts_);
  about_ = std::make_unique<AboutBox>();
  about_->ShowPicture(ProgramPicture(programDir_, QStringLiteral("about.jpg")));
  mixedFormats_ = std::make_unique<DiffFilesDialog>();
  leftOut_ = std::make_unique<LeftOutDialog>();
  spectrogram_ = std::make_unique<SpectrogramWindow>();
  verification_ = std::make_unique<VerificationWindow>();
  // The one place where the main window follows its secondary windows: disabled while one is
  // open, enabled again when it hides.
  for (SecondaryWindow* window : SecondaryWindows()) {
    window->SetOwner(this);
    connect(window, &SecondaryWindow::Hidden, this, [this] {
      const QList<SecondaryWindow*> windows = SecondaryWindows();
      const bool anyOpen = std::any_of(windows.begin(), windows.end(),
                                       [](SecondaryWindow* w) { return w->isVisible(); });
      setEnabled(!anyOpen);
    });
  }
  binder_->Add(options_->Bindings());
  connect(options_.get(), &OptionsDialog::Confirmed, this, &MainWindow::ConfirmOptions);
  connect(options_.get(), &OptionsDialog::LanguageChosen, this, &MainWindow::ApplyLanguage);
  connect(about_.get(), &AboutBox::AddressClicked, this,
          [this](const QString& address) { prompts_.OpenAddress(address); });
}

QList<SecondaryWindow*> MainWindow::SecondaryWindows() const {
  QList<SecondaryWindow*> windows;
  for (SecondaryWindow* window : std::initializer_list<SecondaryWindow*>{
           options_.get(), about_.get(), mixedFormats_.get(), leftOut_.get(), spectrogram_.get(),
           verification_.get()}) {
    if (window)
      windows << window;
  }
  return windows;
}

void MainWindow::LoadSettings() {
  session_.LoadSettings();
  ApplyCaptionsToWindows();
  release_->SetChecksumsAvailable(session_.Opts().AutoCrc);
}

void MainWindow::ShowCentred() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  show();
}

void MainWindow::ApplyLanguage(const QString& name) {
  session_.ApplyLanguage(name);
  ApplyCaptionsToWindows();
}

CaptionSetters MainWindow::MainCaptions() {
  const auto QualityText = [this](QualityTableModel::Text which) {
    return [this, which](const QString& text) { qualityModel_->SetText(which, text); };
  };
  CaptionSetters setters = {
      {Caption::MenuFile, [this](const QString& text) { fileMenu_->setTitle(text); }},
      {Caption::MenuSave, [this](const QString& text) { save_->setText(text); }},
      {Caption::MenuVerify, [this](const QString& text) { verify_->setText(text); }},
      {Caption::NoChecksumLists, [this](const QString& text) { noListsText_ = text; }},
      {Caption::MenuExit, [this](const QString& text) { exit_->setText(text); }},
      {Caption::MenuOptions, [this](const QString& text) { optionsMenu_->setTitle(text); }},
      {Caption::MenuSettings, [this](const QString& text) { settings_->setText(text); }},
      {Caption::MenuHelp, [this](const QString& text) { helpMenu_->setTitle(text); }},
      {Caption::MenuAbout, [this](const QString& text) { aboutAction_->setText(text); }},
      {Caption::TabFolder, TabSetter(pages_, kFolderPage)},
      {Caption::TabTracks, TabSetter(pages_, kTracksPage)},
      {Caption::TabRelease, TabSetter(pages_, kReleasePage)},
      {Caption::TabNfo, TabSetter(pages_, kNfoPage)},
      {Caption::TabQuality, TabSetter(pages_, kQualityPage)},
      {Caption::QualityAlbum, QualityText(QualityTableModel::Text::Album)},
      {Caption::QualityLossySource, QualityText(QualityTableModel::Text::LossySource)},
      {Caption::QualityUpsampled, QualityText(QualityTableModel::Text::Upsampled)},
      {Caption::QualityNotDecoded, QualityText(QualityTableModel::Text::NotDecoded)},
      {Caption::SpectrogramsSaved, [this](const QString& text) { spectrogramsSavedText_ = text; }},
      {Caption::UnreadableTracks,
       [this](const QString& text) {
         unreadableText_ = text;
         ShowUnreadable();
       }},
      {Caption::UnreadableTrack,
       [this](const QString& text) { trackModel_->SetUnreadableText(text); }},
  };
  constexpr std::array<Caption, TrackTableModel::kColumnCount> kColumns = {
      Caption::ColumnFile,    Caption::ColumnArtist,   Caption::ColumnTitle,
      Caption::ColumnAlbum,   Caption::ColumnSize,     Caption::ColumnTime,
      Caption::ColumnBitrate, Caption::ColumnChecksum, Caption::ColumnDisc};
  for (int column = 0; column < TrackTableModel::kColumnCount; ++column) {
    setters[kColumns[static_cast<size_t>(column)]] = [this, column](const QString& text) {
      trackModel_->SetHeader(column, text);
    };
  }
  constexpr std::array<Caption, QualityTableModel::kColumnCount> kQualityColumns = {
      Caption::QualityFile, Caption::QualityDr,       Caption::QualityPeak,
      Caption::QualityRms,  Caption::QualityLoudness, Caption::QualityTruePeak,
      Caption::QualityGain, Caption::QualityCutoff,   Caption::QualityNotes};
  for (int column = 0; column < QualityTableModel::kColumnCount; ++column) {
    setters[kQualityColumns[static_cast<size_t>(column)]] = [this, column](const QString& text) {
      qualityModel_->SetHeader(column, text);
    };
  }
  for (const CaptionSetters& page : {folder_->Captions(), tracks_->Captions(), quality_->Captions(),
                                     release_->Captions(), nfo_->Captions()}) {
    setters.insert(page.begin(), page.end());
  }
  return setters;
}

std::map<CaptionWindow, CaptionSetters> MainWindow::CaptionWindows() {
  std::map<CaptionWindow, CaptionSetters> windows = {
      {CaptionWindow::Main, MainCaptions()},
      {CaptionWindow::MainLegend, release_->LegendCaptions()},
  };
  if (options_) {
    windows[CaptionWindow::Options] = options_->Captions();
    windows[CaptionWindow::About] = about_->Captions();
    windows[CaptionWindow::MixedFormats] = mixedFormats_->Captions();
    windows[CaptionWindow::LeftOut] = leftOut_->Captions();
    windows[CaptionWindow::Spectrogram] = spectrogram_->Captions();
    windows[CaptionWindow::Verification] = verification_->Captions();
  }
  return windows;
}

QList<FieldBinding> MainWindow::Bindings() const {
  return binder_->Bindings();
}

void MainWindow::ApplyCaptionsToWindows() {
  ApplyCaptionTable(
      [this](const char* section, const char* key) { return session_.LanguageText(section, key); },
      CaptionWindows());
  status_->setText(session_.StatusText());

  QList<CaptionOwner> owners = folder_->CaptionOwners();
  owners << tracks_->CaptionOwners() << release_->CaptionOwners();
  owners.append(
      CaptionOwner{tracks_->TrackList(), [this] { return pages_->tabText(kTracksPage); }});
  owners.append(CaptionOwner{nfo_->Preview(), [this] { return pages_->tabText(kNfoPage); }});
  NameControlsAfterCaptions(this, owners);
  for (SecondaryWindow* window : SecondaryWindows())
    NameControlsAfterCaptions(window);
}

// Every bound control shows what the session holds, and the rules between them follow.
void MainWindow::ShowRelease() {
  binder_->ShowAll();
  tracks_->FollowRules();
  release_->FollowIncludeNote();
  release_->FollowNmr(tracks_->NmrChecked());
}

void MainWindow::BrowseForFolder() {
  if (Busy())
    return;
  const QString start = session_.BeginFolderChoice();
  const QString folder = prompts_.ChooseFolder(this, start);
  if (!folder.isEmpty())
    session_.Scan(folder);
}

void MainWindow::ShowScan(const ScanReport& report) {
  const ScanState& scan = session_.State().Scan;
  folder_->ShowScan(scan);
  folder_->ShowExtras(session_.ExtrasSummary());
  folder_->SetNextEnabled(scan.AnalysisEnabled());
  if (report.NewRelease) {
    nfo_->ShowText(QString());
    pages_->setTabVisible(kNfoPage, false);
    ShowQuality();
    trackModel_->Reset();
    tracks_->ShowDiscColumn(RowsOfDiscs(session_.State()));
    ShowUnreadable();
  }
  // A folder with tracks: the next step is "Dalej >".
  if (scan.AnalysisEnabled())
    folder_->FocusNext();
  if (report.Mixed && mixedFormats_) {
    setEnabled(false);
    mixedFormats_->ShowWarning(*report.Mixed);
  }
  if (!report.LeftOut.empty() && leftOut_) {
    setEnabled(false);
    leftOut_->ShowFiles(report.LeftOut);
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (acceptDrops_ && !Busy() && event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (!acceptDrops_ || Busy() || !event->mimeData()->hasUrls())
    return;
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  // Several items at once scan the current folder again.
  if (urls.size() == 1)
    session_.Scan(urls.first().toLocalFile());
  else
    session_.Rescan();
}

void MainWindow::StartAnalysis() {
  if (Busy())
    return;
  session_.Analyse(clock_().date());
}

void MainWindow::ShowAnalysisStart() {
  trackModel_->Reset();
  ShowQuality();
  tracks_->ShowDiscColumn(RowsOfDiscs(session_.State()));
  HoldCommands(true);
  QApplication::setOverrideCursor(Qt::BusyCursor);
}

void MainWindow::ShowAnalysisEnd(AnalysisOutcome outcome) {
  summaryRefresh_->stop();
  HoldCommands(false);
  QApplication::restoreOverrideCursor();
  ShowRelease();
  ShowUnreadable();
  ShowQuality();
  if (outcome == AnalysisOutcome::Finished) {
    pages_->setTabVisible(kNfoPage, true);
    pages_->setCurrentIndex(kTracksPage);
  }
  emit AnalysisEnded();
}

void MainWindow::ShowUnreadable() {
  const int count = session_.UnreadableTracks();
  unreadable_->setText(count > 0 ? unreadableText_.arg(count) : QString());
  unreadable_->setVisible(count > 0);
}

// The quality page is there while the release has the audio pass's figures.
void MainWindow::ShowQuality() {
  qualityModel_->Reset();
  quality_->ShowSpectrogram(QImage());
  pages_->setTabVisible(kQualityPage, session_.State().Audio.Done);
}

void MainWindow::ShowSelectedSpectrogram(int row) {
  const std::optional<Spectrogram> spectrogram = session_.TrackSpectrogram(row);
  quality_->ShowSpectrogram(
      spectrogram ? DrawSpectrogram(*spectrogram, session_.SpectrogramTitle(row)) : QImage());
}

// Every picture is drawn and written on a thread of its own: a long album takes seconds.
void MainWindow::SaveSpectrograms() {
  if (pictureWriter_.joinable())
    pictureWriter_.join();
  const QString folder = prompts_.ChooseFolder(this, session_.OutputFolder());
  if (folder.isEmpty())
    return;
  quality_->SetSaveEnabled(false);
  pictureWriter_ =
      std::jthread([this, files = session_.SpectrogramFiles(folder)](std::stop_token stop) {
        int written = 0;
        QString failure;
        for (const SpectrogramFile& file : files) {
          if (stop.stop_requested())
            return;
          QDir().mkpath(QFileInfo(file.Path).absolutePath());
          if (!DrawSpectrogram(file.Levels.Unpack(), file.Title).save(file.Path, "PNG")) {
            failure = FileError::CannotCreate(file.Path).Text();
            break;
          }
          ++written;
        }
        QMetaObject::invokeMethod(
            this, [this, written, failure] { ReportSpectrograms(written, failure); },
            Qt::QueuedConnection);
      });
}

void MainWindow::ReportSpectrograms(int written, const QString& failure) {
  quality_->SetSaveEnabled(true);
  if (failure.isEmpty()) {
    prompts_.ShowMessage(this, spectrogramsSavedText_.arg(written),
                         session_.MessageText(Message::SavedCaption), WindowPrompts::Icon::None);
  } else {
    prompts_.ShowError(this, failure);
  }
  emit SpectrogramsSaved();
}

void MainWindow::HoldCommands(bool hold) {
  folder_->SetBrowseEnabled(!hold);
  folder_->SetNextEnabled(!hold && session_.State().Scan.AnalysisEnabled());
  pages_->tabBar()->setEnabled(!hold);
  for (QAction* action : {save_, verify_, settings_})
    action->setEnabled(!hold);
}

void MainWindow::ComposePreview() {
  session_.Compose();
  nfo_->ShowText(session_.State().NfoText);
}

void MainWindow::SaveFromPage() {
  if (Busy())
    return;
  ReportSave([this] { return session_.Save(); });
}

void MainWindow::SaveFromMenu() {
  if (Busy())
    return;
  ReportSave([this] {
    SaveResult result = session_.SaveCommand();
    if (session_.State().Run.AnalysisDone)
      nfo_->ShowText(session_.State().NfoText);
    return result;
  });
}

void MainWindow::ReportSave(const std::function<SaveResult()>& save) {
  SaveResult result;
  try {
    result = save();
  } catch (const std::exception& failure) {
    prompts_.ShowError(this, FailureText(failure));
    return;
  }
  if (result.Outcome == SaveOutcome::NothingToSave) {
    prompts_.ShowMessage(this, result.MessageText, result.MessageCaption,
                         WindowPrompts::Icon::Error);
    return;
  }
  prompts_.ShowMessage(this, result.MessageText, result.MessageCaption, WindowPrompts::Icon::None);
  // A box ticked for a file the folder does not hold: said in passing, nothing waits for it.
  if (!result.Notes.isEmpty())
    statusBar()->showMessage(result.Notes.join(QStringLiteral("; ")), 15000);
}

// The lists of the folder on page 1 (or of one the user picks before any), checked on a worker;
// commands wait meanwhile, and a window shows every file's result.
void MainWindow::VerifyLists() {
  if (Busy())
    return;
  QString folder = session_.State().Scan.FolderPath;
  if (folder.isEmpty())
    folder = prompts_.ChooseFolder(this, session_.BeginFolderChoice());
  if (folder.isEmpty() || !session_.Verify(folder))
    return;
  HoldCommands(true);
  QApplication::setOverrideCursor(Qt::BusyCursor);
}

void MainWindow::ShowVerification(const VerificationResult& result) {
  HoldCommands(false);
  QApplication::restoreOverrideCursor();
  if (!result.Failure.isEmpty()) {
    prompts_.ShowError(this, result.Failure);
  } else if (result.Lists == 0) {
    prompts_.ShowMessage(this, noListsText_, session_.MessageText(Message::NothingToSaveCaption),
                         WindowPrompts::Icon::None);
  } else if (!result.Stopped) {
    verification_->SetLines(result.Lines);
    ShowSecondary(verification_.get());
  }
  emit VerificationEnded();
}

void MainWindow::ConfirmOptions() {
  try {
    session_.SaveSettings();
  } catch (const std::exception& failure) {
    prompts_.ShowError(options_.get(), FailureText(failure));
  }
  const bool autoCrc = session_.Opts().AutoCrc;
  session_.SetInfo(&ReleaseInfo::IncludeChecksums, autoCrc);
  release_->SetChecksumsAvailable(autoCrc);
  ShowRelease();
}

void MainWindow::ShowSecondary(SecondaryWindow* window) {
  if (!window)
    return;
  setEnabled(false);
  window->ShowCentred();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A download still running is given up: the program ends without waiting for the network.
  updateCheck_.reset();
  pictureWriter_.request_stop();
  for (SecondaryWindow* window : SecondaryWindows())
    window->hide();
  session_.SetOption(&Options::Width, width());
  session_.SetOption(&Options::Height, height());
  try {
    // A running pass stops at once; its workers give up within one block or file.
    session_.Close();
  } catch (const std::exception& failure) {
    prompts_.ShowError(this, FailureText(failure));
  }
  if (QApplication::overrideCursor())
    QApplication::restoreOverrideCursor();
  HoldCommands(false);
  acceptDrops_ = false;
  setAcceptDrops(false);
  event->accept();
}
