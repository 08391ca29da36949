#include "aboutbox.h"

#include "application.h"
#include "designfont.h"
#include "designlabel.h"
#include "fixeddialogframe.h"
#include "hinttext.h"
#include "pixelart.h"
#include "secretpanel.h"
#include "stretchedimage.h"
#include "x11window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

const QColor Blue(0, 0, 255);
const QColor Grey(0x80, 0x80, 0x80);
const QColor LightGrey(0xC0, 0xC0, 0xC0);

QLabel *makeLabel(QWidget *parent, const QString &objectName, const QString &text,
                  const QRect &geometry, Qt::Alignment alignment = Qt::AlignLeft)
{
    QLabel *label = DesignLabel::create(parent, text, geometry, alignment);
    label->setObjectName(objectName);
    return label;
}

// The icon's art keeps its transparent background; the about box shows it on grey.
QPixmap onLightGrey(const QPixmap &art)
{
    QPixmap picture(art.size());
    picture.fill(LightGrey);
    QPainter(&picture).drawPixmap(0, 0, art);
    return picture;
}

} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, FixedDialogFrame::flags(Qt::Dialog)), SecretPanel1(new SecretPanel(this)),
      ProgramIcon(new StretchedImage(SecretPanel1)),
      ProductName(makeLabel(SecretPanel1, QStringLiteral("ProductName"),
                            QStringLiteral("Morphocalcule"), {72, 24, 212, 36})),
      Version(makeLabel(SecretPanel1, QStringLiteral("Version"), QStringLiteral("Version 1.1"),
                        {200, 62, 53, 13})),
      Distribution1(makeLabel(SecretPanel1, QStringLiteral("Distribution1"),
                              QStringLiteral("Ce logiciel est un graticiel :"), {16, 88, 266, 13},
                              Qt::AlignHCenter)),
      Distribution2(makeLabel(SecretPanel1, QStringLiteral("Distribution2"),
                              QStringLiteral("il peut être copié et distribué librement."),
                              {16, 101, 266, 13}, Qt::AlignHCenter)),
      Copyright(makeLabel(SecretPanel1, QStringLiteral("Copyright"),
                          QStringLiteral("© 2026 Gilles Vautrin"), {16, 124, 266, 13},
                          Qt::AlignHCenter)),
      BitBtn1(new QPushButton(QStringLiteral("Ok"), SecretPanel1))
{
    Q_INIT_RESOURCE(about);
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("A propos"));
    setFixedSize(ClientWidth, ClientHeight);
    FixedDialogFrame::centreWhenFirstShown(this);
    setFont(DesignFont::sansSerif(11));
    HintText::setShowHint(this, false);

    createPanel();
    createLabels();
    createOkButton();

    X11Window::setWindowClass(quint32(winId()), QCoreApplication::applicationName().toLocal8Bit(),
                              "TAboutBox");
}

void AboutBox::createPanel()
{
    SecretPanel1->setObjectName(QStringLiteral("SecretPanel1"));
    SecretPanel1->setGeometry(0, 0, ClientWidth, ClientHeight);
    HintText::set(SecretPanel1, QStringLiteral("Click pour fermer cet écran|"));
    HintText::setShowHint(SecretPanel1, false);
    SecretPanel1->setLines(creditLines());
    SecretPanel1->setInterval(50);
    SecretPanel1->setCycled(true);
    SecretPanel1->setTextStyle(SecretPanel::TextStyle::Engraved);
    SecretPanel1->setAlignment(Qt::AlignHCenter);
    connect(SecretPanel1, &SecretPanel::clicked, this,
            [this] { Application::guard([this] { SecretPanel1Click(); }); });

    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(16, 14, 50, 50);
    ProgramIcon->setPicture(onLightGrey(QPixmap(QStringLiteral(":/MAINICON"))));
    HintText::set(ProgramIcon, QStringLiteral("Click !|"));
    HintText::setShowHint(ProgramIcon, true);
    connect(ProgramIcon, &StretchedImage::clicked, this,
            [this] { Application::guard([this] { ProgramIconClick(); }); });
}

void AboutBox::createLabels()
{
    QFont title = DesignFont::serif(32);
    title.setBold(true);
    title.setItalic(true);
    ProductName->setFont(title);
    DesignLabel::setTextColor(ProductName, Blue);
    DesignLabel::setTextColor(Version, Grey);
}

void AboutBox::createOkButton()
{
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(111, 150, 75, 25);
    BitBtn1->setIcon(PixelArt::icon(QStringLiteral(":/OKGLYPH")));
    BitBtn1->setIconSize({18, 18});
    BitBtn1->setDefault(true);
    HintText::set(BitBtn1, QStringLiteral("Refermer cet écran|"));
    HintText::setShowHint(BitBtn1, true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

QStringList AboutBox::creditLines()
{
    return {
        QString(),
        QString(),
        QString(),
        QStringLiteral("  Le logiciel Morphocalcule"),
        QStringLiteral("à été développé uniquement"),
        QStringLiteral("dans le but de se faire plaisir."),
        QStringLiteral("En aucun cas l'auteur ne tient"),
        QStringLiteral(" à se facher avec quiconque."),
        QString(),
        QStringLiteral("Merci à tous ceux qui l'utilisent"),
        QStringLiteral("et le font connaître autour d'eux."),
        QString(),
        QStringLiteral(" Pour tous renseignements"),
        QStringLiteral("  Gilles Vautrin"),
        QStringLiteral("  14, rue des Glycines"),
        QStringLiteral("   37000 Tours"),
    };
}

void AboutBox::ProgramIconClick()
{
    SecretPanel1->setActive(true);
    HintText::setShowHint(SecretPanel1, true);
}

void AboutBox::SecretPanel1Click()
{
    SecretPanel1->setActive(false);
    HintText::setShowHint(SecretPanel1, false);
}

void AboutBox::keyPressEvent(QKeyEvent *event)
{
    // There is no cancel button, so Escape leaves the box open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
