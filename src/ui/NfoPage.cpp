#include "ui/NfoPage.h"

#include "ui/Controls.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QFont NfoFont() {
  const QStringList families = QFontDatabase::families();
  for (const QString& family : {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")}) {
    if (families.contains(family)) {
      QFont font(family);
      font.setStyleHint(QFont::TypeWriter);
      font.setFixedPitch(true);
      return font;
    }
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

NfoPage::NfoPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PageNfo"));
  auto* page = new QVBoxLayout(this);
  SaveNfo = NamedButton("SaveNfo", QStringLiteral("Zapisz NFO"), this);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(SaveNfo);
  buttons->addStretch(1);
  page->addLayout(buttons);

  Preview = new QPlainTextEdit(this);
  Preview->setObjectName(QStringLiteral("NfoText"));
  Preview->setFont(NfoFont());
  Preview->setLineWrapMode(QPlainTextEdit::NoWrap);
  Preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Preview->setTabChangesFocus(true);
  page->addWidget(Preview, 1);
}

QList<CaptionKey> NfoPage::CaptionKeys() {
  return {{"BUTTONS", "5008", [this](const QString& text) { SaveNfo->setText(text); }}};
}
