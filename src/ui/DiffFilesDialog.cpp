#include "ui/DiffFilesDialog.h"

#include "ui/Controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString FormatCaption(AudioFormat format) {
  switch (format) {
    case AudioFormat::Mp3:
      return QStringLiteral("MPEG Layer 3 (mp3):");
    case AudioFormat::Mpc:
      return QStringLiteral("Muse Pack (mpc):");
    case AudioFormat::Ape:
      return QStringLiteral("Monkey's Audio (ape):");
    case AudioFormat::Flac:
      return QStringLiteral("Free Lossless Audio Codec (flac):");
  }
  return {};
}

void SetBold(QLabel* label, bool bold) {
  QFont font = label->font();
  font.setBold(bold);
  label->setFont(font);
}

}  // namespace

DiffFilesDialog::DiffFilesDialog() : SecondaryWindow(TitleOnlyFlags()) {
  setObjectName(QStringLiteral("MixedFormatWarning"));
  setWindowTitle(QStringLiteral("_Warning"));
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);
  FirstLine = new QLabel(this);
  FirstLine->setObjectName(QStringLiteral("FirstLine"));
  column->addWidget(FirstLine);

  auto* rows = new QGridLayout();
  for (const AudioFormat format : kAudioFormats) {
    const int index = FormatIndex(format);
    FormatLabels[index] = new QLabel(FormatCaption(format), this);
    Counts[index] = new QLabel(QStringLiteral("0"), this);
    Counts[index]->setObjectName(QStringLiteral("Count") + FormatExtension(format));
    rows->addWidget(FormatLabels[index], index, 0);
    rows->addWidget(Counts[index], index, 1, Qt::AlignRight);
  }
  rows->setColumnMinimumWidth(1, 40);
  column->addLayout(rows);

  LastLine = new QLabel(this);
  LastLine->setObjectName(QStringLiteral("LastLine"));
  column->addWidget(LastLine);
  Ok = NamedButton("Ok", QStringLiteral("_OK"), this);
  Ok->setDefault(true);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Ok);
  buttons->addStretch(1);
  column->addLayout(buttons);
  connect(Ok, &QPushButton::clicked, this, &QDialog::hide);
}

void DiffFilesDialog::ShowWarning(const MixedFormatWarning& warning) {
  setWindowTitle(warning.Caption);
  FirstLine->setText(warning.FirstLine);
  for (const AudioFormat format : kAudioFormats) {
    const int index = FormatIndex(format);
    const bool dominant = format == warning.Dominant;
    Counts[index]->setText(QString::number(warning.Counts[index]));
    SetBold(FormatLabels[index], dominant);
    SetBold(Counts[index], dominant);
  }
  LastLine->setText(warning.LastLine);
  ShowCentred();
}

QList<CaptionKey> DiffFilesDialog::CaptionKeys() {
  return {{"BUTTONS", "5007", [this](const QString& text) { Ok->setText(text); }}};
}
