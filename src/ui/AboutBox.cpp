#include "ui/AboutBox.h"

#include "platform/ProductInfo.h"
#include "ui/Controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* LinkLabel(const QString& address, const QString& text, QWidget* parent) {
  auto* label = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(address, text), parent);
  label->setTextFormat(Qt::RichText);
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  return label;
}

}  // namespace

QString ContactAddress() {
  return QStringLiteral("velmora@") + ProductWebHost();
}

AboutBox::AboutBox() : SecondaryWindow(TitleOnlyFlags()) {
  setObjectName(QStringLiteral("About"));
  setWindowTitle(QStringLiteral("O programie..."));
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);
  picture_ = new QLabel(this);
  picture_->setObjectName(QStringLiteral("AboutPicture"));
  picture_->setAlignment(Qt::AlignCenter);
  picture_->hide();  // until a picture is given
  column->addWidget(picture_);
  auto* title = new QLabel(ProgramNameAndVersion(), this);
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  title->setFont(bold);
  column->addWidget(title, 0, Qt::AlignHCenter);
  column->addWidget(new QLabel(QStringLiteral("NFO files, checksum lists and playlists"), this), 0,
                    Qt::AlignHCenter);
  column->addWidget(new QLabel(QStringLiteral("for music releases posted to news groups."), this),
                    0, Qt::AlignHCenter);
  for (const QString& address :
       {ProductWebAddress(), QStringLiteral("mailto:") + ContactAddress()}) {
    QLabel* link = LinkLabel(
        address, address.startsWith(QLatin1String("mailto:")) ? ContactAddress() : address, this);
    connect(link, &QLabel::linkActivated, this, &AboutBox::AddressClicked);
    column->addWidget(link, 0, Qt::AlignHCenter);
  }
  ok_ = NamedButton("Ok", QStringLiteral("OK"), this);
  ok_->setDefault(true);
  column->addWidget(ok_, 0, Qt::AlignHCenter);
  connect(ok_, &QPushButton::clicked, this, &QDialog::hide);
}

void AboutBox::ShowPicture(const QPixmap& picture) {
  picture_->setPixmap(picture);
  picture_->setVisible(!picture.isNull());
}

CaptionSetters AboutBox::Captions() {
  return {{Caption::AboutOk, [this](const QString& text) { ok_->setText(text); }},
          {Caption::AboutTitle, [this](const QString& text) { setWindowTitle(text); }}};
}
