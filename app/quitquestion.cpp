#include "quitquestion.h"

#include "application.h"
#include "designfont.h"
#include "fixeddialogframe.h"
#include "helpcontext.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {

enum {
    Margin = 12,
    IconSize = 32,
    IconToText = 12,
    TextToButtons = 16,
    ButtonWidth = 75,
    ButtonHeight = 23,
    ButtonPadding = 16,
    ButtonSpacing = 6,
};

// The question has no hints; a screen reader still learns what each answer does.
QPushButton *makeButton(const QString &caption, const QString &description, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setAutoDefault(true);
    button->setAccessibleDescription(description);
    return button;
}

QScreen *screenOf(const QWidget *widget)
{
    return widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
}

} // namespace

QuitQuestion::QuitQuestion(QWidget *parent)
    : QDialog(parent, FixedDialogFrame::flags(Qt::Dialog)), iconLabel(new QLabel(this)),
      textLabel(new QLabel(QStringLiteral("Voulez-vous quitter Morphocalcule 1.1 ?"), this)),
      yesButton(makeButton(QStringLiteral("&Oui"), QStringLiteral("Ferme Morphocalcule."), this)),
      noButton(
          makeButton(QStringLiteral("&Non"), QStringLiteral("Laisse Morphocalcule ouvert."), this)),
      helpButton(makeButton(QStringLiteral("&Aide"),
                            QStringLiteral("Affiche l'aide sur la fermeture."), this))
{
    setObjectName(QStringLiteral("QuitQuestion"));
    setWindowTitle(QStringLiteral("Confirmation"));
    setWindowModality(Qt::ApplicationModal);
    setFont(DesignFont::sansSerif(11));
    // The buttons keep context 0: F1 anywhere in the question walks out to this one.
    HelpContext::set(this, HelpContext);

    iconLabel->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(IconSize));
    textLabel->setTextFormat(Qt::PlainText);
    setAccessibleDescription(textLabel->text());
    textLabel->setWordWrap(true);
    textLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    yesButton->setDefault(true);
    connect(yesButton, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(noButton, &QPushButton::clicked, this, [this] { done(No); });
    connect(helpButton, &QPushButton::clicked, this, &QuitQuestion::showHelp);

    layOut();
    FixedDialogFrame::centreOnScreen(this);
    yesButton->setFocus();
}

int QuitQuestion::ask(QWidget *parent)
{
    QuitQuestion question(parent);
    return question.exec();
}

void QuitQuestion::layOut()
{
    const QFontMetrics metrics(font());
    const int maxTextWidth = screenOf(this)->geometry().width() / 2;
    const QRect text = metrics.boundingRect(QRect(0, 0, maxTextWidth, 0),
                                            Qt::TextWordWrap | Qt::AlignLeft, textLabel->text());

    const QList<QPushButton *> buttons{yesButton, noButton, helpButton};
    int buttonWidth = ButtonWidth;
    for (QPushButton *button : buttons) {
        const QString caption = button->text().remove(u'&');
        buttonWidth = std::max(buttonWidth, metrics.horizontalAdvance(caption) + ButtonPadding);
    }
    const int rowWidth =
        int(buttons.size()) * buttonWidth + int(buttons.size() - 1) * ButtonSpacing;

    const int messageWidth = IconSize + IconToText + text.width();
    const int width = 2 * Margin + std::max(messageWidth, rowWidth);
    const int messageHeight = std::max<int>(IconSize, text.height());
    const int buttonTop = Margin + messageHeight + TextToButtons;
    setFixedSize(width, buttonTop + ButtonHeight + Margin);

    iconLabel->setGeometry(Margin, Margin, IconSize, IconSize);
    textLabel->setGeometry(Margin + IconSize + IconToText, Margin, text.width(), messageHeight);

    int left = (width - rowWidth) / 2;
    for (QPushButton *button : buttons) {
        button->setGeometry(left, buttonTop, buttonWidth, ButtonHeight);
        left += buttonWidth + ButtonSpacing;
    }
}

void QuitQuestion::showHelp()
{
    if (Application *app = Application::instance())
        app->helpContext(HelpContext);
}

void QuitQuestion::reject()
{
    done(No);
}

// The close box and Alt+F4 give their own answer, which counts as consent.
void QuitQuestion::closeEvent(QCloseEvent *event)
{
    event->accept();
    done(Closed);
}
