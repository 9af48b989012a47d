#include "ui/QualityPage.h"

#include "ui/Controls.h"
#include "ui/QualityTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr std::array<int, QualityTableModel::kColumnCount> kColumnWidths = {200, 55, 80, 80, 90,
                                                                            90,  90, 80, 200};

}  // namespace

QualityPage::QualityPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("QualityPage"));
  auto* column = new QVBoxLayout(this);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setObjectName(QStringLiteral("QualitySplitter"));
  splitter->setChildrenCollapsible(false);

  table_ = new QTableView(splitter);
  table_->setObjectName(QStringLiteral("Quality"));
  table_->setAccessibleName(QStringLiteral("Quality"));
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Tab leaves the table for the picture and the button, as on every other page.
  table_->setTabKeyNavigation(false);

  pictureButton_ = new QToolButton(splitter);
  pictureButton_->setObjectName(QStringLiteral("Spectrogram"));
  pictureButton_->setAccessibleName(QStringLiteral("Spectrogram"));
  pictureButton_->setAutoRaise(true);
  pictureButton_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  pictureButton_->setMinimumHeight(120);
  pictureButton_->setCursor(Qt::PointingHandCursor);
  pictureButton_->setFocusPolicy(Qt::StrongFocus);
  splitter->addWidget(table_);
  splitter->addWidget(pictureButton_);
  // The picture gets most of the room; the table scrolls on a long album.
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 2);
  splitter->setSizes({160, 320});
  column->addWidget(splitter, 1);

  save_ = NamedButton("SaveSpectrograms", QStringLiteral("Zapisz spektrogramy"), this);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(save_);
  column->addLayout(buttons);

  connect(pictureButton_, &QToolButton::clicked, this, [this] {
    if (!picture_.isNull())
      emit EnlargeRequested();
  });
  connect(save_, &QPushButton::clicked, this, &QualityPage::SaveSpectrogramsRequested);
}

void QualityPage::SetModel(QAbstractItemModel* model) {
  table_->setModel(model);
  for (int i = 0; i < static_cast<int>(kColumnWidths.size()); ++i)
    table_->setColumnWidth(i, kColumnWidths[static_cast<size_t>(i)]);
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { emit RowSelected(current.row()); });
}

void QualityPage::ShowSpectrogram(const QImage& picture) {
  picture_ = picture;
  ScalePicture();
}

void QualityPage::SetSaveEnabled(bool enabled) {
  save_->setEnabled(enabled);
}

void QualityPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ScalePicture();
}

void QualityPage::ScalePicture() {
  if (picture_.isNull()) {
    pictureButton_->setIcon(QIcon());
    return;
  }
  const QSize room = pictureButton_->size() - QSize(8, 8);
  const QPixmap scaled =
      QPixmap::fromImage(picture_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  pictureButton_->setIcon(QIcon(scaled));
  pictureButton_->setIconSize(scaled.size());
}

CaptionSetters QualityPage::Captions() {
  return {
      {Caption::SaveSpectrograms, [this](const QString& text) { save_->setText(text); }},
  };
}
