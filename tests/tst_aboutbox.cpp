#include "aboutbox.h"
#include "applicationtest.h"
#include "hinttext.h"
#include "imagecolours.h"
#include "principale.h"
#include "secretpanel.h"
#include "stretchedimage.h"
#include "x11probe.h"
#include "x11window.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>

namespace {

QList<QWidget *> controlsOf(const AboutBox &box)
{
    return {box.ProgramIcon,   box.ProductName, box.Version, box.Distribution1,
            box.Distribution2, box.Copyright,   box.BitBtn1};
}

bool allControlsShown(const AboutBox &box)
{
    const QList<QWidget *> controls = controlsOf(box);
    return std::all_of(controls.begin(), controls.end(), [](QWidget *w) { return w->isVisible(); });
}

bool noControlShown(const AboutBox &box)
{
    const QList<QWidget *> controls = controlsOf(box);
    return std::none_of(controls.begin(), controls.end(),
                        [](QWidget *w) { return w->isVisible(); });
}

// Keys go where the user's keys go: to the focused widget, or to the window itself.
void pressKey(AboutBox &box, Qt::Key key)
{
    QWidget *target = QApplication::focusWidget();
    QTest::keyClick(target && target->window() == &box ? target : static_cast<QWidget *>(&box),
                    key);
}

void startRoll(AboutBox &box)
{
    QTest::mouseClick(box.ProgramIcon, Qt::LeftButton);
    QVERIFY(box.SecretPanel1->isActive());
    QTRY_VERIFY(box.SecretPanel1->offset() >= 2);
}

// Runs `act` on the about box once the command under test has shown it modally.
void whenAboutBoxShows(const std::function<void(AboutBox *)> &act)
{
    QTimer::singleShot(10, [act] {
        auto *box = qobject_cast<AboutBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            whenAboutBoxShows(act);
            return;
        }
        act(box);
    });
}

} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void layout_data();
    void layout();
    void picture();
    void okButton();
    void hints();

    void rollStartsAndStopsByClicks();
    void doubleClickOnThePictureKeepsTheRoll();
    void keys_data();
    void keys();
    void closeRequestCancels_data();
    void closeRequestCancels();

    void commandShowsAFreshModalBoxEachTime();

private:
    std::unique_ptr<AboutBox> m_box;
};

void TestAboutBox::init()
{
    m_box = std::make_unique<AboutBox>();
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
}

void TestAboutBox::cleanup()
{
    m_box.reset();
}

void TestAboutBox::window()
{
    QCOMPARE(m_box->windowTitle(), QStringLiteral("A propos"));
    QCOMPARE(m_box->size(), QSize(298, 186));
    QCOMPARE(m_box->minimumSize(), m_box->maximumSize());
    const Qt::WindowFlags flags = m_box->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(m_box->font().pixelSize(), 11);
    QCOMPARE(X11Window::className(quint32(m_box->winId())), QByteArray("TAboutBox"));

    const QList<X11Probe::Window> shown = X11Probe::find("TAboutBox", QStringLiteral("A propos"));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(X11Probe::shownCaption(shown.first().id), QStringLiteral("A propos"));
    const QSize screen = X11Probe::screenSize();
    QTRY_COMPARE(X11Probe::find("TAboutBox", QStringLiteral("A propos")).first().geometry,
                 QRect((screen.width() - 298) / 2, (screen.height() - 186) / 2, 298, 186));

    QCOMPARE(m_box->SecretPanel1->geometry(), QRect(0, 0, 298, 186));
    QCOMPARE(m_box->SecretPanel1->bevel(), BevelPanel::Bevel::Lowered);
    QCOMPARE(m_box->SecretPanel1->lines(), AboutBox::creditLines());
    QCOMPARE(m_box->SecretPanel1->interval(), 50);
    QVERIFY(m_box->SecretPanel1->isCycled());
    QCOMPARE(m_box->SecretPanel1->textStyle(), SecretPanel::TextStyle::Engraved);
    QVERIFY(!m_box->SecretPanel1->isActive());
}

void TestAboutBox::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");

    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    QTest::newRow("ProgramIcon") << "ProgramIcon" << QRect(16, 14, 50, 50) << "" << QColor();
    QTest::newRow("ProductName") << "ProductName" << QRect(72, 24, 212, 36) << "Morphocalcule"
                                 << QColor(0, 0, 255);
    QTest::newRow("Version") << "Version" << QRect(200, 62, 53, 13) << "Version 1.1"
                             << QColor(0x80, 0x80, 0x80);
    QTest::newRow("Distribution1") << "Distribution1" << QRect(16, 88, 266, 13)
                                   << "Ce logiciel est un graticiel :" << windowText;
    QTest::newRow("Distribution2") << "Distribution2" << QRect(16, 101, 266, 13)
                                   << "il peut être copié et distribué librement." << windowText;
    QTest::newRow("Copyright") << "Copyright" << QRect(16, 124, 266, 13) << "© 2026 Gilles Vautrin"
                               << windowText;
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(111, 150, 75, 25) << "Ok" << QColor();
}

void TestAboutBox::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QColor, color);

    auto *control = m_box->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), m_box->SecretPanel1);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisible());
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->palette().color(label->foregroundRole()), color);
        // The text fits its box: nothing of it is cut off.
        QVERIFY(label->fontMetrics().horizontalAdvance(text) <= geometry.width());
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), text);
    }
}

// The icon's art on light grey, stretched to 50 x 50 without blending any colours.
void TestAboutBox::picture()
{
    const QImage art = m_box->ProgramIcon->picture().toImage();
    QCOMPARE(art.size(), QSize(32, 32));
    QCOMPARE(art.pixelColor(0, 0), QColor(0xC0, 0xC0, 0xC0));
    QVERIFY(ImageColours::of(art).size() <= 16);

    const QImage shown = m_box->ProgramIcon->grab().toImage().convertToFormat(art.format());
    QCOMPARE(shown.size(), QSize(50, 50));
    QVERIFY(ImageColours::of(art).contains(ImageColours::of(shown)));
    QCOMPARE(ImageColours::of(shown).size(), ImageColours::of(art).size());

    const QFont title = m_box->ProductName->font();
    QCOMPARE(title.pixelSize(), 32);
    QVERIFY(title.bold());
    QVERIFY(title.italic());
    QCOMPARE(QFontInfo(title).family(), QStringLiteral("Liberation Serif"));
}

void TestAboutBox::okButton()
{
    QPushButton *ok = m_box->BitBtn1;
    QVERIFY(ok->isDefault());
    QCOMPARE(ok->iconSize(), QSize(18, 18));
    QCOMPARE(ok->icon().availableSizes(), QList<QSize>{QSize(18, 18)});

    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!m_box->isVisible());
    QCOMPARE(m_box->result(), int(QDialog::Accepted));
}

// Only the picture and Ok have tooltips at rest; the panel's shows during the roll, over
// the panel and what it holds. No hint has a long part, so the hint line stays empty.
void TestAboutBox::hints()
{
    QCOMPARE(HintText::of(m_box->ProgramIcon), QStringLiteral("Click !|"));
    QCOMPARE(HintText::of(m_box->BitBtn1), QStringLiteral("Refermer cet écran|"));
    QCOMPARE(HintText::of(m_box->SecretPanel1), QStringLiteral("Click pour fermer cet écran|"));
    for (QWidget *label :
         {static_cast<QWidget *>(m_box->ProductName), static_cast<QWidget *>(m_box->Version),
          static_cast<QWidget *>(m_box->Copyright)})
        QVERIFY(HintText::of(label).isEmpty());

    QVERIFY(!HintText::showsHint(m_box.get()));
    QVERIFY(HintText::showsHint(m_box->ProgramIcon));
    QVERIFY(HintText::showsHint(m_box->BitBtn1));
    QVERIFY(!HintText::showsHint(m_box->SecretPanel1));
    QVERIFY(!HintText::showsHint(m_box->ProductName));

    startRoll(*m_box);
    QVERIFY(HintText::showsHint(m_box->SecretPanel1));
    QVERIFY(HintText::showsHint(m_box->ProductName));

    QTest::mouseClick(m_box->SecretPanel1, Qt::LeftButton, {}, QPoint(150, 90));
    QVERIFY(!HintText::showsHint(m_box->SecretPanel1));
}

void TestAboutBox::rollStartsAndStopsByClicks()
{
    SecretPanel *panel = m_box->SecretPanel1;
    QVERIFY(allControlsShown(*m_box));
    QVERIFY(panel->buffer().isNull());

    // A click on the panel, or on a label it holds, changes nothing while it is at rest.
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(150, 170));
    QTest::mouseClick(m_box->Version, Qt::LeftButton);
    QVERIFY(!panel->isActive());
    QVERIFY(allControlsShown(*m_box));

    startRoll(*m_box);
    QVERIFY(noControlShown(*m_box));
    QVERIFY(!panel->buffer().isNull());

    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(40, 38)); // where the picture was
    QVERIFY(!panel->isActive());
    QVERIFY(allControlsShown(*m_box));
    QVERIFY(panel->buffer().isNull());
    QCOMPARE(panel->offset(), 0);

    QTest::mouseClick(m_box->ProgramIcon, Qt::LeftButton);
    QVERIFY(panel->isActive());
    QCOMPARE(panel->offset(), 0); // again from the top
    QTRY_VERIFY(panel->offset() >= 1);
}

// The second half of the double click lands on the panel, where the picture was.
void TestAboutBox::doubleClickOnThePictureKeepsTheRoll()
{
    const QPoint picture = m_box->ProgramIcon->geometry().center();
    QTest::mouseClick(m_box->ProgramIcon, Qt::LeftButton);
    QTest::mouseDClick(m_box->SecretPanel1, Qt::LeftButton, {}, picture);
    QTest::mouseRelease(m_box->SecretPanel1, Qt::LeftButton, {}, picture);
    QVERIFY(m_box->SecretPanel1->isActive());
    QVERIFY(noControlShown(*m_box));
}

void TestAboutBox::keys_data()
{
    QTest::addColumn<bool>("rolling");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Enter at rest") << false << Qt::Key_Return << true;
    QTest::newRow("keypad Enter at rest") << false << Qt::Key_Enter << true;
    QTest::newRow("Escape at rest") << false << Qt::Key_Escape << false;
    QTest::newRow("Enter while rolling") << true << Qt::Key_Return << false;
    QTest::newRow("Escape while rolling") << true << Qt::Key_Escape << false;
}

void TestAboutBox::keys()
{
    QFETCH(bool, rolling);
    QFETCH(Qt::Key, key);
    QFETCH(bool, closes);
    m_box->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_box.get()));
    QCOMPARE(QApplication::focusWidget(), m_box->BitBtn1);
    if (rolling)
        startRoll(*m_box);

    pressKey(*m_box, key);
    QCOMPARE(m_box->isVisible(), !closes);
    if (closes)
        QCOMPARE(m_box->result(), int(QDialog::Accepted));
    QCOMPARE(m_box->SecretPanel1->isActive(), rolling);
}

// The close box and Alt+F4 reach the program as the window manager's close request.
void TestAboutBox::closeRequestCancels_data()
{
    QTest::addColumn<bool>("rolling");
    QTest::newRow("at rest") << false;
    QTest::newRow("while rolling") << true;
}

void TestAboutBox::closeRequestCancels()
{
    QFETCH(bool, rolling);
    if (rolling)
        startRoll(*m_box);
    m_box->setResult(QDialog::Accepted);

    X11Probe::sendDeleteRequest(quint32(m_box->winId()));
    QTRY_VERIFY(!m_box->isVisible());
    QCOMPARE(m_box->result(), int(QDialog::Rejected));
}

void TestAboutBox::commandShowsAFreshModalBoxEachTime()
{
    m_box.reset();
    Principale window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QPointer<AboutBox> first;
    QPointer<QTimer> firstTimer;
    bool seenFirst = false;
    whenAboutBoxShows([&](AboutBox *box) {
        first = box;
        firstTimer = box->SecretPanel1->findChild<QTimer *>();
        seenFirst = box->isModal() && box->windowModality() == Qt::ApplicationModal &&
                    !box->SecretPanel1->isActive() && allControlsShown(*box);
        QTest::mouseClick(box->ProgramIcon, Qt::LeftButton);
        // Closed by its close box in the middle of the roll.
        QTimer::singleShot(200, box, [box] {
            if (box->SecretPanel1->offset() > 0)
                X11Probe::sendDeleteRequest(quint32(box->winId()));
        });
    });
    window.Apropos1Click();
    QVERIFY(seenFirst);
    QVERIFY(!first);
    QVERIFY(!firstTimer);

    bool seenSecond = false;
    whenAboutBoxShows([&](AboutBox *box) {
        seenSecond = !box->SecretPanel1->isActive() && allControlsShown(*box) &&
                     box->SecretPanel1->offset() == 0 && !HintText::showsHint(box->SecretPanel1);
        QTest::mouseClick(box->BitBtn1, Qt::LeftButton);
    });
    window.Apropos1Click();
    QVERIFY(seenSecond);
    QVERIFY(!QApplication::activeModalWidget());
}

MORPHO_APPLICATION_TEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
