#include "principale.h"

#include "aboutbox.h"
#include "application.h"
#include "bevelpanel.h"
#include "cursorresource.h"
#include "designfont.h"
#include "designlabel.h"
#include "docking.h"
#include "error.h"
#include "fixeddialogframe.h"
#include "hinttext.h"
#include "idealweight.h"
#include "instanceguard.h"
#include "quitquestion.h"
#include "screencentre.h"
#include "settings.h"
#include "speedbar.h"
#include "speedbarsection.h"
#include "speeditem.h"
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
#include <QTimer>
#include <memory>

namespace {

constexpr int LabelHeight = 13;
constexpr int EmptyLabelWidth = 3;

const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);

QLabel *makeLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    return DesignLabel::create(parent, text, geometry);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    DesignLabel::setTextColor(widget, color);
}

QFont underlined(QFont font)
{
    font.setUnderline(true);
    return font;
}

// The window takes its font before its first control exists, so that the controls lay out
// their text in it from the start and the toolkit's own default font is never loaded.
QWidget *withDesignFont(QWidget *window)
{
    window->setFont(DesignFont::sansSerif(11));
    return window;
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
    : QWidget(parent, FixedDialogFrame::flags(Qt::Window)),
      Label4(makeLabel(withDesignFont(this), QString(), {210, 178, EmptyLabelWidth, LabelHeight})),
      Label5(makeLabel(this, QStringLiteral("Pour cette taille le poids idéal est de :"),
                       {32, 178, 175, LabelHeight})),
      Panel1(new BevelPanel(BevelPanel::Bevel::Raised, this)),
      Label1(makeLabel(Panel1, QStringLiteral("Entrer votre taille :"), {8, 10, 85, LabelHeight})),
      Label3(makeLabel(Panel1, QStringLiteral("(en cm) "), {104, 43, 38, LabelHeight})),
      Edit1(new SpinEdit(Panel1)), Panel2(new BevelPanel(BevelPanel::Bevel::Raised, this)),
      Label2(makeLabel(Panel2, QStringLiteral("Vous êtes :"), {24, 10, 53, LabelHeight})),
      RadioButton1(new QRadioButton(QStringLiteral("un homme"), Panel2)),
      RadioButton2(new QRadioButton(QStringLiteral("une femme"), Panel2)),
      StatusBar(new PanelStatusBar(this)), Timer1(new QTimer(this)), PopupMenu1(new QMenu(this))
{
    setObjectName(QStringLiteral("Principale"));
    setWindowTitle(QStringLiteral("Morphocalcule"));
    setFixedSize(ClientWidth, ClientHeight);
    FixedDialogFrame::centreWhenFirstShown(this);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    HintText::setShowHint(this, true);

    createLabels();
    createHeightPanel();
    createSexPanel();
    createStatusBar();
    createSpeedBar();
    createClock();
    createPopupMenu();
    // The last component: when another instance runs, start-up ends here.
    PBJustOne1 = new InstanceGuard(this);
    PBJustOne1->setObjectName(QStringLiteral("PBJustOne1"));

    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &Principale::commitDataRequest);
    if (Application *app = Application::instance())
        app->setMainWindow(this);
    // The native window exists from here on, hidden, already marked with its class.
    X11Window::setWindowClass(quint32(winId()), QCoreApplication::applicationName().toLocal8Bit(),
                              "TPrincipale");

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

void Principale::createClock()
{
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this,
            [this] { Application::guard([this] { Timer1Timer(); }); });
    Timer1->start();
    if (!Timer1->isActive())
        throw Error(QStringLiteral("Pas assez de timers disponibles"), "OutOfResources");
}

void Principale::createSpeedBar()
{
    SpeedBar1 = new SpeedBar(this);
    SpeedBar1->setObjectName(QStringLiteral("SpeedBar1"));
    SpeedBar1->setGeometry(0, 0, ClientWidth, 60);
    SpeedBar1->setButtonSize(QSize(54, 54));
    SpeedBar1->setButtonOffset(QPoint(3, 3));
    SpeedBar1->setOptions(SpeedBar::AllowDrag | SpeedBar::FlatButtons | SpeedBar::GrayedButtons |
                          SpeedBar::TransparentButtons);
    HintText::setShowHint(SpeedBar1, true);
    if (Application *app = Application::instance())
        SpeedBar1->setDragCursor(app->cursor(Application::DragCursor));
    // The status bar is docked too: the tool bar's room along the other edges ends at it.
    Docking::setEdge(StatusBar, Docking::Edge::Bottom);

    SpeedbarSection1 = new SpeedbarSection(QStringLiteral("BarrePrincipale"), SpeedBar1);
    SpeedbarSection1->setObjectName(QStringLiteral("SpeedbarSection1"));
    Calculer1 = addSpeedItem(QStringLiteral("Calculer1"), QStringLiteral("Calculer"),
                             QStringLiteral("Calculer|Lance le calcul du poids idéal."), 2, {3, 3},
                             &Principale::Calculer1Click);
    Apropos1 = addSpeedItem(QStringLiteral("Apropos1"), QStringLiteral("A propos"),
                            QStringLiteral("A propos|A propos de Morphocalcule 1.1"), 2, {57, 3},
                            &Principale::Apropos1Click);
    Aide = addSpeedItem(QStringLiteral("Aide"), QStringLiteral("Aide"),
                        QStringLiteral("Aide|Affiche une aide d'utilisation."), 2, {111, 3},
                        &Principale::AideClick);
    Quitter1 = addSpeedItem(QStringLiteral("Quitter1"), QStringLiteral("Quitter"),
                            QStringLiteral("Quitter|Quitte l'application."), 1, {370, 3},
                            &Principale::Quitter1Click);
}

// The item's glyph is the resource named after it.
SpeedItem *Principale::addSpeedItem(const QString &name, const QString &caption,
                                    const QString &hint, int numGlyphs, QPoint position,
                                    void (Principale::*handler)())
{
    auto *item = new SpeedItem(SpeedbarSection1, position);
    item->setObjectName(name);
    item->setCaption(caption);
    item->setGlyph(QImage(QStringLiteral(":/glyphs/") + name));
    item->setNumGlyphs(numGlyphs);
    item->setHint(hint);
    item->setSpacing(1);
    connect(item, &SpeedItem::clicked, this, [this, handler] { runHandler(handler); });
    return item;
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
        runHandler(handler);
    });
    return action;
}

// Tool bar items and menu items share their handlers, each run inside the exception report.
void Principale::runHandler(void (Principale::*handler)())
{
    Application::guard([this, handler] { (this->*handler)(); });
}

void Principale::createPopupMenu()
{
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Calculer2 =
        addMenuItem(QStringLiteral("&Calculer"), QStringLiteral("Lance le calcul du poids idéal."),
                    &Principale::Calculer1Click);
    Apropos2 =
        addMenuItem(QStringLiteral("&A propos"), QStringLiteral("A propos de Morphocalcule 1.1"),
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
    useHandCursor();
    Timer1Timer();
    loadSpeedBarWallpaper();
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

// Cursor 1 is the hand, or the arrow when the hand cannot be read; the tool bar's
// items take it in their order.
void Principale::useHandCursor()
{
    Application *app = Application::instance();
    if (!app)
        return;
    app->setCursor(Application::HandCursor,
                   CursorResource::load(QStringLiteral(":/HANDPNT"), QPoint(0, 0)));
    for (SpeedItem *item : {Calculer1, Apropos1, Aide, Quitter1})
        item->setCursor(app->cursor(Application::HandCursor));
}

// Without its wallpaper the bar stays in the plain button face.
void Principale::loadSpeedBarWallpaper()
{
    SpeedBar1->setWallpaper(QPixmap(QStringLiteral(":/BACKGROUND")));
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
    // A fresh box for each showing, destroyed when it closes, also if showing it failed.
    const auto box = std::make_unique<AboutBox>();
    box->exec();
}

void Principale::AideClick()
{
    if (Application *app = Application::instance())
        app->helpCommand(Application::HelpContents, 0);
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

void Principale::Timer1Timer()
{
    StatusBar->setPanelText(0, m_clockFormat.format(QTime::currentTime()));
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
    // A changed locale shows in the clock from its next tick on.
    if (event->type() == QEvent::LocaleChange && (watched == qApp || watched == this))
        m_clockFormat = ClockFormat::fromSystemLocale();
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
