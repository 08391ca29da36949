#include "principale.h"

#include "application.h"
#include "bevelpanel.h"
#include "designfont.h"
#include "hinttext.h"
#include "idealweight.h"
#include "quitquestion.h"
#include "screencentre.h"
#include "settings.h"
#include "spinedit.h"
#include "statusbar.h"
#include "x11window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSessionManager>

namespace {

constexpr int LabelHeight = 13;
constexpr int EmptyLabelWidth = 3;

const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);

QLabel *makeLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

QFont underlined(QFont font)
{
    font.setUnderline(true);
    return font;
}

// The result label's width follows its text; its place stays where it was designed.
void fitLabelToText(QLabel *label)
{
    const int width = label->text().isEmpty()
                          ? EmptyLabelWidth
                          : label->fontMetrics().horizontalAdvance(label->text());
    label->resize(width, LabelHeight);
}

} // namespace

Principale::Principale(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      Label4(makeLabel(this, QString(), {210, 178, EmptyLabelWidth, LabelHeight})),
      Label5(makeLabel(this, QStringLiteral("Pour cette taille le poids idéal est de :"),
                       {32, 178, 175, LabelHeight})),
      Panel1(new BevelPanel(BevelPanel::Bevel::Raised, this)),
      Label1(makeLabel(Panel1, QStringLiteral("Entrer votre taille :"), {8, 10, 85, LabelHeight})),
      Label3(makeLabel(Panel1, QStringLiteral("(en cm) "), {104, 43, 38, LabelHeight})),
      Edit1(new SpinEdit(Panel1)), Panel2(new BevelPanel(BevelPanel::Bevel::Raised, this)),
      Label2(makeLabel(Panel2, QStringLiteral("Vous êtes :"), {24, 10, 53, LabelHeight})),
      RadioButton1(new QRadioButton(QStringLiteral("un homme"), Panel2)),
      RadioButton2(new QRadioButton(QStringLiteral("une femme"), Panel2)),
      StatusBar(new PanelStatusBar(this)), PopupMenu1(new QMenu(this))
{
    setObjectName(QStringLiteral("Principale"));
    setWindowTitle(QStringLiteral("Morphocalcule"));
    setFixedSize(ClientWidth, ClientHeight);
    setFont(DesignFont::sansSerif(11));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    HintText::setShowHint(this, true);

    createLabels();
    createHeightPanel();
    createSexPanel();
    createStatusBar();
    createPopupMenu();

    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &Principale::commitDataRequest);
    if (Application *app = Application::instance())
        app->setMainWindow(this);
    // The native window exists from here on, hidden, already marked with its class.
    X11Window::setWindowClass(quint32(winId()),
                              QCoreApplication::applicationName().toLocal8Bit(), "TPrincipale");

    Application::guard([this] { FormCreate(); });
}

Principale::~Principale()
{
    qApp->removeEventFilter(this);
}

void Principale::createLabels()
{
    Label4->setObjectName(QStringLiteral("Label4"));
    HintText::set(Label4, QStringLiteral("Résultat|Résultat du calcul."));
    setTextColor(Label4, Blue);

    Label5->setObjectName(QStringLiteral("Label5"));
    HintText::set(Label5, QStringLiteral("Résultat|Résultat du calcul."));
    Label5->setFont(DesignFont::sansSerif(12));
    setTextColor(Label5, Black);
}

void Principale::createHeightPanel()
{
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(12, 70, 193, 89);
    HintText::set(Panel1, QStringLiteral("Taille|Entrer votre taille en cm (mini 100 cm)."));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(underlined(font()));
    setTextColor(Label1, Black);
    Label3->setObjectName(QStringLiteral("Label3"));

    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(24, 40, 73, 21);
    // The design order: step, bounds, the value type's rewrite of "0", then 160; the
    // change event is attached last so that none of these writes clears the result.
    Edit1->setIncrement(0.5);
    Edit1->setMinValue(100);
    Edit1->setMaxValue(250);
    Edit1->setValue(Edit1->value());
    Edit1->setValue(160);
    connect(Edit1, &QLineEdit::textChanged, this,
            [this] { Application::guard([this] { RadioButton1Click(); }); });
}

void Principale::createSexPanel()
{
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(214, 70, 201, 89);
    HintText::set(Panel2, QStringLiteral("Choix du sexe|Sélectionner votre sexe."));

    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(underlined(font()));

    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(40, 32, 113, 17);
    RadioButton1->setChecked(true);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(40, 56, 113, 17);
    for (QRadioButton *button : {RadioButton1, RadioButton2}) {
        // Only a change of the checked button clears the result, not a click on it again.
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            updateRadioTabStops();
            if (checked)
                Application::guard([this] { RadioButton1Click(); });
        });
    }
    updateRadioTabStops();
    setTabOrder(Edit1, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
}

// A radio button is a tab stop only while it is checked.
void Principale::updateRadioTabStops()
{
    for (QRadioButton *button : {RadioButton1, RadioButton2})
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void Principale::createStatusBar()
{
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setGeometry(0, 213, ClientWidth, 19);
    StatusBar->addPanel(60, Qt::AlignHCenter);
    StatusBar->addPanel(50, Qt::AlignLeft);
}

QAction *Principale::addMenuItem(const QString &caption, const QString &hint,
                                 void (Principale::*handler)())
{
    QAction *action = PopupMenu1->addAction(caption);
    HintText::set(action, hint);
    connect(action, &QAction::triggered, this, [this, action, handler] {
        // Qt flips a checkable item before it reports the click; the handler owns the mark.
        if (action->isCheckable())
            action->setChecked(!action->isChecked());
        Application::guard([this, handler] { (this->*handler)(); });
    });
    return action;
}

void Principale::createPopupMenu()
{
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Calculer2 = addMenuItem(QStringLiteral("&Calculer"), QStringLiteral("Lance le calcul du poids idéal."),
                            &Principale::Calculer1Click);
    Apropos2 = addMenuItem(QStringLiteral("&A propos"), QStringLiteral("A propos de Morphocalcule 1.1"),
                           &Principale::Apropos1Click);
    Aide1 = addMenuItem(QStringLiteral("A&ide"), QStringLiteral("Affiche une aide d'utilisation."),
                        &Principale::AideClick);
    N1 = PopupMenu1->addSeparator();
    Informations = addMenuItem(QStringLiteral("I&nformations"),
                               QStringLiteral("Option d'affichage des panneaux d'information"),
                               &Principale::InformationsClick);
    Informations->setCheckable(true);
    Informations->setChecked(true);
    N2 = PopupMenu1->addSeparator();
    Quitter2 = addMenuItem(QStringLiteral("&Quitter"), QStringLiteral("Quitte l'application."),
                           &Principale::Quitter1Click);
}

void Principale::FormCreate()
{
    if (Application *app = Application::instance())
        connect(app, &Application::hintChanged, this, &Principale::showhint);
    loadSettings();
}

void Principale::loadSettings()
{
    const Settings::Stored stored = Settings::load();
    Informations->setChecked(stored.informations);
    if (Application *app = Application::instance())
        app->setShowHint(stored.informations);
    move(stored.position);
}

void Principale::saveSettings()
{
    Settings::save({Informations->isChecked(), pos()});
}

void Principale::Calculer1Click()
{
    const Sex sex = RadioButton1->isChecked() ? Sex::Man : Sex::Woman;
    const double height = Edit1->value();
    if (height < 100) {
        Edit1->setValue(100);
        return;
    }
    Label4->setText(IdealWeight::resultText(height, sex));
    fitLabelToText(Label4);
}

void Principale::RadioButton1Click()
{
    Label4->clear();
    fitLabelToText(Label4);
}

void Principale::Apropos1Click()
{
}

void Principale::AideClick()
{
}

void Principale::Quitter1Click()
{
    close();
}

void Principale::InformationsClick()
{
    Informations->setChecked(!Informations->isChecked());
    if (Application *app = Application::instance())
        app->setShowHint(Informations->isChecked());
}

void Principale::showhint()
{
    if (Application *app = Application::instance())
        StatusBar->setPanelText(1, app->hint());
}

void Principale::popupAt(const QPoint &globalPos)
{
    PopupMenu1->popup(globalPos);
}

bool Principale::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return false;
    switch (event->type()) {
    case QEvent::ContextMenu:
        // The popup opens when the right button is released, not on Qt's own trigger.
        return true;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        popupAt(mouse->globalPosition().toPoint());
        return true;
    }
    default:
        return false;
    }
}

void Principale::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        centreOnScreen();
    }
    QWidget::showEvent(event);
}

void Principale::centreOnScreen()
{
    move(ScreenCentre::topLeft(this));
}

// Every way of closing comes here. The window is not hidden: the program ends with it.
void Principale::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_asking)
        return;
    Application::guard([this] {
        bool canClose = true;
        FormCloseQuery(canClose);
        if (!canClose)
            return;
        FormClose();
        if (Application *app = Application::instance())
            app->terminate();
    });
}

void Principale::FormCloseQuery(bool &canClose)
{
    const QScopedValueRollback<bool> asking(m_asking, true);
    const int answer = QuitQuestion::ask(this);
    // Without an answer the program is being ended from outside, and ends unsaved.
    canClose = answer != QuitQuestion::No && answer != QuitQuestion::NoAnswer;
}

void Principale::FormClose()
{
    Application *app = Application::instance();
    if (app)
        app->helpCommand(Application::HelpQuit, 0);
    saveSettings();
    if (app)
        app->helpCommand(Application::HelpQuit, 0);
}

bool Principale::agreesToEndSession()
{
    if (m_asking)
        return false;
    bool canClose = true;
    FormCloseQuery(canClose);
    return canClose;
}

void Principale::commitDataRequest(QSessionManager &manager)
{
    if (manager.allowsInteraction() && !agreesToEndSession())
        manager.cancel();
    manager.release();
}
