#pragma once

#include "clockformat.h"

#include <QWidget>

class BevelPanel;
class InstanceGuard;
class PanelStatusBar;
class QAction;
class QLabel;
class QMenu;
class QRadioButton;
class QSessionManager;
class QTimer;
class SpeedBar;
class SpeedItem;
class SpeedbarSection;
class SpinEdit;

// The main window: height and sex in, ideal weight out, with its popup menu and
// status bar. Laid out by hand from its fixed design, in creation order.
class Principale : public QWidget
{
    Q_OBJECT

public:
    enum { ClientWidth = 427, ClientHeight = 232 };

    explicit Principale(QWidget *parent = nullptr);
    ~Principale() override;

    void FormCreate();
    void Calculer1Click();
    void RadioButton1Click();
    void Apropos1Click();
    void AideClick();
    void Quitter1Click();
    void InformationsClick();
    void Timer1Timer();
    void showhint();
    void FormCloseQuery(bool &canClose);
    void FormClose();
    // Asked when the desktop session is about to end: the quit question alone.
    bool agreesToEndSession();

    QLabel *const Label4;
    QLabel *const Label5;
    BevelPanel *const Panel1;
    QLabel *const Label1;
    QLabel *const Label3;
    SpinEdit *const Edit1;
    BevelPanel *const Panel2;
    QLabel *const Label2;
    QRadioButton *const RadioButton1;
    QRadioButton *const RadioButton2;
    PanelStatusBar *const StatusBar;
    SpeedBar *SpeedBar1 = nullptr;
    SpeedbarSection *SpeedbarSection1 = nullptr;
    SpeedItem *Calculer1 = nullptr;
    SpeedItem *Apropos1 = nullptr;
    SpeedItem *Aide = nullptr;
    SpeedItem *Quitter1 = nullptr;
    QTimer *const Timer1;
    QMenu *const PopupMenu1;
    QAction *Calculer2 = nullptr;
    QAction *Apropos2 = nullptr;
    QAction *Aide1 = nullptr;
    QAction *N1 = nullptr;
    QAction *Informations = nullptr;
    QAction *N2 = nullptr;
    QAction *Quitter2 = nullptr;
    InstanceGuard *PBJustOne1 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createLabels();
    void createHeightPanel();
    void createSexPanel();
    void createStatusBar();
    void createSpeedBar();
    void createClock();
    SpeedItem *addSpeedItem(const QString &name, const QString &caption, const QString &hint,
                            int numGlyphs, QPoint position, void (Principale::*handler)());
    void useHandCursor();
    void loadSpeedBarWallpaper();
    void createPopupMenu();
    QAction *addMenuItem(const QString &caption, const QString &hint, void (Principale::*handler)());
    void runHandler(void (Principale::*handler)());
    void popupAt(const QPoint &globalPos);
    void updateRadioTabStops();
    void loadSettings();
    void saveSettings();
    void commitDataRequest(QSessionManager &manager);

    ClockFormat m_clockFormat = ClockFormat::fromSystemLocale();
    bool m_asking = false;
};
