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
  Picture = new QLabel(this);
  Picture->setObjectName(QStringLiteral("AboutPicture"));
  Picture->setAlignment(Qt::AlignCenter);
  Picture->hide();  // until a picture is given
  column->addWidget(Picture);
  Title = new QLabel(ProgramNameAndVersion(), this);
  QFont bold = Title->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  Title->setFont(bold);
  column->addWidget(Title, 0, Qt::AlignHCenter);
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
  Ok = NamedButton("Ok", QStringLiteral("OK"), this);
  Ok->setDefault(true);
  column->addWidget(Ok, 0, Qt::AlignHCenter);
  connect(Ok, &QPushButton::clicked, this, &QDialog::hide);
}

void AboutBox::ShowPicture(const QPixmap& picture) {
  Picture->setPixmap(picture);
  Picture->setVisible(!picture.isNull());
}

QList<CaptionKey> AboutBox::CaptionKeys() {
  return {{"BUTTONS", "5007", [this](const QString& text) { Ok->setText(text); }},
          {"FORMS", "8002", [this](const QString& text) { setWindowTitle(text); }}};
}
