#include "ui/NfoPage.h"

#include "ui/Controls.h"
#include "ui/FieldBinding.h"

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
  saveNfo_ = NamedButton("SaveNfo", QStringLiteral("Zapisz NFO"), this);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(saveNfo_);
  buttons->addStretch(1);
  page->addLayout(buttons);

  preview_ = new QPlainTextEdit(this);
  preview_->setObjectName(QStringLiteral("NfoText"));
  preview_->setFont(NfoFont());
  preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
  preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  preview_->setTabChangesFocus(true);
  page->addWidget(preview_, 1);

  connect(saveNfo_, &QPushButton::clicked, this, &NfoPage::SaveRequested);
  connect(preview_, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_)
      emit TextEdited(TextOf(*preview_));
  });
}

void NfoPage::ShowText(const QString& text) {
  showing_ = true;
  preview_->setPlainText(text);
  showing_ = false;
}

CaptionSetters NfoPage::Captions() {
  return {{Caption::SaveNfo, [this](const QString& text) { saveNfo_->setText(text); }}};
}

QWidget* NfoPage::Preview() const {
  return preview_;
}
