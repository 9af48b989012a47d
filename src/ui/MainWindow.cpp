#include "ui/MainWindow.h"

#include "checksums/Checksums.h"
#include "platform/FileError.h"
#include "platform/ProductInfo.h"
#include "ui/AboutBox.h"
#include "ui/DiffFilesDialog.h"
#include "ui/FieldBinding.h"
#include "ui/FolderPage.h"
#include "ui/NfoPage.h"
#include "ui/OptionsDialog.h"
#include "ui/Pictures.h"
#include "ui/ReleasePage.h"
#include "ui/TracksPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

namespace {

enum PageIndex { kFolderPage = 0, kTracksPage = 1, kReleasePage = 2, kNfoPage = 3 };

// How long the track pass may keep the window from its events at a time: short enough that it
// repaints and can be moved smoothly, long enough that yielding costs nothing to speak of.
constexpr std::chrono::milliseconds kAnalysisSlice{15};

QString FailureMessage(const std::exception& failure) {
  if (const auto* fileError = dynamic_cast<const FileError*>(&failure))
    return fileError->Message();
  return QString::fromUtf8(failure.what());
}

QAction* NamedAction(QMenu* menu, const char* name, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  return action;
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
  release_ = new ReleasePage(pages_);
  nfo_ = new NfoPage(pages_);
  // The tabs' captions come from the language file only.
  for (QWidget* page : {static_cast<QWidget*>(folder_), static_cast<QWidget*>(tracks_),
                        static_cast<QWidget*>(release_), static_cast<QWidget*>(nfo_)}) {
    pages_->addTab(page, QString());
  }
  pages_->setTabVisible(kNfoPage, false);
  setCentralWidget(pages_);
  BuildMenu();
  status_ = new QLabel(QStringLiteral("NFO not saved!"), this);
  status_->setObjectName(QStringLiteral("StatusText"));
  statusBar()->addWidget(status_, 1);

  resize(startup.Width, startup.Height);
  const ReleaseModel& model = session_.Model();
  tracks_->ShowChoices(model.Lists);
  release_->ShowChoices(model.Lists);
  release_->NoteText->setPlainText(model.Info.NoteText);
  folder_->ShowDonation(ProgramPicture(programDir, QStringLiteral("donate.jpg")));
  FollowRules();
  ConnectCommands();
  StartUpdateCheck(updatePlaces, startup.CheckUpdate);
  // The track pass's slices come from a timer of their own rather than from posted calls: the
  // event loop weighs due timers (the window's repaints among them) against it fairly, while
  // posted calls would run two slices for every turn the timers get.
  nextSlice_ = new QTimer(this);
  nextSlice_->setSingleShot(true);
  nextSlice_->setInterval(0);
  connect(nextSlice_, &QTimer::timeout, this, &MainWindow::AdvanceAnalysis);
  // The job starts with choosing a folder.
  folder_->Browse->setFocus();
  setAcceptDrops(true);
  acceptDrops_ = true;
}

MainWindow::~MainWindow() {
  // The checksum workers post to this window: they end before anything else goes.
  run_.reset();
}

void MainWindow::StartUpdateCheck(const UpdateCheckPlaces& places, bool checkUpdate) {
  // The download runs in the background; start-up goes on at once and a failure says nothing.
  updateCheck_ = std::make_unique<UpdateCheck>(places);
  connect(updateCheck_.get(), &UpdateCheck::NewVersionAvailable, this,
          [this](const QString& title, const QString& text) {
            prompts_.ShowMessage(this, text, title, WindowPrompts::Icon::None);
          });
  updateCheck_->Start(checkUpdate);
}

void MainWindow::BuildMenu() {
  fileMenu_ = menuBar()->addMenu(QStringLiteral("&Plik"));
  fileMenu_->setObjectName(QStringLiteral("MenuFile"));
  save_ = NamedAction(fileMenu_, "MenuSave", QStringLiteral("&Zapisz"));
  fileMenu_->addSeparator();
  exit_ = NamedAction(fileMenu_, "MenuExit", QStringLiteral("&Wyjście"));
  optionsMenu_ = menuBar()->addMenu(QStringLiteral("&Opcje"));
  optionsMenu_->setObjectName(QStringLiteral("MenuOptions"));
  settings_ = NamedAction(optionsMenu_, "MenuSettings", QStringLiteral("Ustawienia"));
  helpMenu_ = menuBar()->addMenu(QStringLiteral("&Pomoc"));
  helpMenu_->setObjectName(QStringLiteral("MenuHelp"));
  aboutAction_ = NamedAction(helpMenu_, "MenuAbout", QStringLiteral("&O programie"));
}

void MainWindow::ConnectCommands() {
  connect(folder_->Browse, &QPushButton::clicked, this, &MainWindow::BrowseForFolder);
  connect(folder_->Next, &QPushButton::clicked, this, &MainWindow::StartAnalysis);
  connect(folder_->Donation, &QToolButton::clicked, this,
          [this] { prompts_.OpenAddress(DonationAddress()); });
  connect(tracks_->Next, &QPushButton::clicked, this,
          [this] { pages_->setCurrentIndex(kReleasePage); });
  connect(tracks_->Nmr, &QCheckBox::clicked, release_, &ReleasePage::FollowNmr);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == kNfoPage)
      ComposePreview();
  });
  connect(nfo_->SaveNfo, &QPushButton::clicked, this, &MainWindow::SaveFromPage);
  connect(save_, &QAction::triggered, this, &MainWindow::SaveFromMenu);
  connect(exit_, &QAction::triggered, this, &QWidget::close);
  connect(settings_, &QAction::triggered, this, [this] { ShowSecondary(options_.get()); });
  connect(aboutAction_, &QAction::triggered, this, [this] { ShowSecondary(about_.get()); });
}

void MainWindow::CreateDialogs() {
  options_ = std::make_unique<OptionsDialog>(programDir_, prompts_);
  about_ = std::make_unique<AboutBox>();
  about_->ShowPicture(ProgramPicture(programDir_, QStringLiteral("about.jpg")));
  mixedFormats_ = std::make_unique<DiffFilesDialog>();
  for (SecondaryWindow* window : SecondaryWindows())
    connect(window, &SecondaryWindow::Hidden, this, [this] { setEnabled(true); });
  connect(options_.get(), &OptionsDialog::Confirmed, this, &MainWindow::ConfirmOptions);
  connect(options_.get(), &OptionsDialog::LanguageChosen, this, &MainWindow::ApplyLanguage);
  connect(about_.get(), &AboutBox::AddressClicked, this,
          [this](const QString& address) { prompts_.OpenAddress(address); });
}

QList<SecondaryWindow*> MainWindow::SecondaryWindows() const {
  QList<SecondaryWindow*> windows;
  for (SecondaryWindow* window :
       std::initializer_list<SecondaryWindow*>{options_.get(), about_.get(), mixedFormats_.get()}) {
    if (window)
      windows << window;
  }
  return windows;
}

void MainWindow::LoadSettings() {
  session_.LoadSettings();
  const ReleaseModel& model = session_.Model();
  ShowModel();
  if (options_)
    options_->ShowOptions(model.Opts);
  ApplyCaptionsToWindows();
  release_->IncludeChecksums->setEnabled(model.Opts.AutoCrc);
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
  StoreControls();
  session_.ApplyLanguage(name);
  ApplyCaptionsToWindows();
}

QList<CaptionKey> MainWindow::CaptionKeys() {
  QList<CaptionKey> keys = {
      {"MENU", "0", [this](const QString& text) { fileMenu_->setTitle(text); }},
      {"MENU", "00", [this](const QString& text) { save_->setText(text); }},
      {"MENU", "02", [this](const QString& text) { exit_->setText(text); }},
      {"MENU", "1", [this](const QString& text) { optionsMenu_->setTitle(text); }},
      {"MENU", "10", [this](const QString& text) { settings_->setText(text); }},
      {"MENU", "2", [this](const QString& text) { helpMenu_->setTitle(text); }},
      {"MENU", "20", [this](const QString& text) { aboutAction_->setText(text); }},
  };
  for (int page = kFolderPage; page <= kNfoPage; ++page) {
    static const std::array<const char*, 4> kTabKeys = {"1001", "1002", "1003", "1004"};
    keys.append({"TABSHEETS", kTabKeys[static_cast<size_t>(page)],
                 [this, page](const QString& text) { pages_->setTabText(page, text); }});
  }
  keys << folder_->CaptionKeys() << tracks_->CaptionKeys() << release_->CaptionKeys()
       << nfo_->CaptionKeys();
  if (options_)
    keys << options_->CaptionKeys() << about_->CaptionKeys() << mixedFormats_->CaptionKeys();
  return keys;
}

void MainWindow::ApplyCaptionsToWindows() {
  ApplyCaptions(CaptionKeys(), session_.Language());

  // The language replaced the note's first line and the status text.
  const ReleaseModel& model = session_.Model();
  release_->NoteText->setPlainText(model.Info.NoteText);
  status_->setText(model.StatusText);

  QList<CaptionOwner> owners = folder_->CaptionOwners();
  owners << tracks_->CaptionOwners() << release_->CaptionOwners();
  owners.append(CaptionOwner{tracks_->Tracks, [this] { return pages_->tabText(kTracksPage); }});
  owners.append(CaptionOwner{nfo_->Preview, [this] { return pages_->tabText(kNfoPage); }});
  NameControlsAfterCaptions(this, owners);
  for (SecondaryWindow* window : SecondaryWindows())
    NameControlsAfterCaptions(window);
}

void MainWindow::ShowModel() {
  ReleaseModel& model = session_.Model();
  ShowFields(*this, SummaryFields(model.Summary));
  ShowFields(*this, InfoFields(model.Info));
  tracks_->ShowTracks(model.Tracks);
  folder_->ShowProgress(model.Progress);
  FollowRules();
}

void MainWindow::StoreControls() {
  ReleaseModel& model = session_.Model();
  StoreFields(*this, SummaryFields(model.Summary));
  StoreFields(*this, InfoFields(model.Info));
  if (options_)
    options_->StoreOptions(model.Opts);
  model.Opts.Width = width();
  model.Opts.Height = height();
}

void MainWindow::FollowRules() {
  release_->FollowIncludeNote();
  tracks_->FollowVariousArtists();
  tracks_->FollowNmr();
  release_->FollowNmr(tracks_->Nmr->isChecked());
}

void MainWindow::BrowseForFolder() {
  if (Busy())
    return;
  const QString start = session_.BeginFolderChoice();
  const QString folder = prompts_.ChooseFolder(this, start);
  if (!folder.isEmpty())
    ScanFolder(folder);
}

void MainWindow::ScanFolder(const QString& folder) {
  ShowScanResult(session_.Scan(folder));
}

void MainWindow::ShowScanResult(const std::optional<MixedFormatWarning>& warning) {
  folder_->ShowScan(session_.Model().Scan);
  // A folder with tracks: the next step is "Dalej >".
  if (folder_->Next->isEnabled())
    folder_->Next->setFocus();
  if (warning && mixedFormats_) {
    setEnabled(false);
    mixedFormats_->ShowWarning(*warning);
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
    ScanFolder(urls.first().toLocalFile());
  else
    ShowScanResult(session_.Rescan());
}

void MainWindow::StartAnalysis() {
  if (Busy() || !session_.Model().Scan.AnalysisEnabled())
    return;
  StoreControls();
  // A worker says a checksum is ready; the window takes it on its own thread.
  run_ = session_.StartAnalysis(clock_().date(), [this] {
    QMetaObject::invokeMethod(this, &MainWindow::AdvanceAnalysis, Qt::QueuedConnection);
  });
  HoldCommands(true);
  QApplication::setOverrideCursor(Qt::BusyCursor);
  folder_->ShowProgress(session_.Model().Progress, 0);
  nextSlice_->start();
}

void MainWindow::AdvanceAnalysis() {
  if (!run_)
    return;
  try {
    run_->Advance(kAnalysisSlice);
  } catch (const std::exception& failure) {
    EndAnalysis();
    ShowModel();
    prompts_.ShowError(this, FailureMessage(failure));
    emit AnalysisEnded();
    return;
  }
  const ReleaseModel& model = session_.Model();
  switch (run_->CurrentPhase()) {
    case AnalysisRun::Phase::ReadingTracks:
      folder_->ShowProgress(model.Progress, run_->ReadPercent());
      nextSlice_->start();
      return;
    case AnalysisRun::Phase::Hashing:
      folder_->ShowProgress(model.Progress);
      return;  // the workers' notifications bring the next results
    default:
      ShowAnalysisEnd(run_->CurrentPhase());
  }
}

void MainWindow::ShowAnalysisEnd(AnalysisRun::Phase phase) {
  EndAnalysis();
  ShowModel();
  if (phase == AnalysisRun::Phase::Finished) {
    pages_->setTabVisible(kNfoPage, true);
    pages_->setCurrentIndex(kTracksPage);
  }
  emit AnalysisEnded();
}

void MainWindow::EndAnalysis() {
  if (!run_)
    return;
  run_.reset();
  HoldCommands(false);
  QApplication::restoreOverrideCursor();
}

void MainWindow::HoldCommands(bool hold) {
  folder_->Browse->setEnabled(!hold);
  folder_->Next->setEnabled(!hold && session_.Model().Scan.AnalysisEnabled());
  pages_->tabBar()->setEnabled(!hold);
  for (QAction* action : {save_, settings_})
    action->setEnabled(!hold);
}

void MainWindow::ComposePreview() {
  StoreControls();
  session_.Compose();
  nfo_->Preview->setPlainText(session_.Model().NfoText);
}

void MainWindow::SaveFromPage() {
  if (Busy())
    return;
  StoreControls();
  session_.Model().NfoText = TextOf(*nfo_->Preview);
  ReportSave([this] { return session_.Save(); });
}

void MainWindow::SaveFromMenu() {
  if (Busy())
    return;
  StoreControls();
  ReportSave([this] {
    SaveResult result = session_.SaveCommand();
    if (session_.Model().Run.AnalysisDone)
      nfo_->Preview->setPlainText(session_.Model().NfoText);
    return result;
  });
}

void MainWindow::ReportSave(const std::function<SaveResult()>& save) {
  SaveResult result;
  try {
    result = save();
  } catch (const std::exception& failure) {
    prompts_.ShowError(this, FailureMessage(failure));
    return;
  }
  if (result.Outcome == SaveOutcome::NothingToSave) {
    prompts_.ShowMessage(this, result.MessageText, result.MessageCaption,
                         WindowPrompts::Icon::Error);
    return;
  }
  status_->setText(session_.Model().StatusText);
  prompts_.ShowMessage(this, result.MessageText, result.MessageCaption, WindowPrompts::Icon::None);
}

void MainWindow::ConfirmOptions() {
  StoreControls();
  try {
    session_.SaveSettings();
  } catch (const std::exception& failure) {
    prompts_.ShowError(options_.get(), FailureMessage(failure));
  }
  const bool autoCrc = session_.Model().Opts.AutoCrc;
  release_->IncludeChecksums->setEnabled(autoCrc);
  release_->IncludeChecksums->setChecked(autoCrc);
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
  if (run_) {
    // Closing stops a running analysis at once; the workers give up within one block.
    run_->Stop();
    EndAnalysis();
  }
  for (SecondaryWindow* window : SecondaryWindows())
    window->hide();
  StoreControls();
  try {
    session_.Close();
  } catch (const std::exception& failure) {
    prompts_.ShowError(this, FailureMessage(failure));
  }
  acceptDrops_ = false;
  setAcceptDrops(false);
  event->accept();
}
