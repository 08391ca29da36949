#include "applicationtest.h"
#include "bevelpanel.h"
#include "hinttext.h"
#include "principale.h"
#include "spinedit.h"
#include "statusbar.h"

#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <clocale>
#include <memory>

namespace {

// Switches the process locale and tells the height field, as a locale change does.
void useLocale(SpinEdit *field, const char *name)
{
    QVERIFY2(std::setlocale(LC_ALL, name), qPrintable(QStringLiteral("locale %1 missing: run scripts/setup.sh").arg(QLatin1String(name))));
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(field, &change);
}

void typeInto(SpinEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Answers the next message box once it shows and hands back what it said.
struct MessageBoxWatcher
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;

    void arm()
    {
        QTimer::singleShot(0, [this] { poll(); });
    }
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, [this] { poll(); });
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    }
};

} // namespace

class TestPrincipale : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void startState();
    void tabOrder();
    void popupMenuItems();
    void rightReleaseOpensPopup_data();
    void rightReleaseOpensPopup();

    void workedValues_data();
    void workedValues();
    void clearRule();
    void computeTwiceShowsTheSameText();
    void overflowIsReportedAndLeavesTheResultEmpty();
    void exceptionReportAddsAFullStop_data();
    void exceptionReportAddsAFullStop();
    void informationsTogglesTheSwitch();

private:
    std::unique_ptr<Principale> m_window;
};

void TestPrincipale::init()
{
    std::setlocale(LC_ALL, "C.UTF-8");
    m_window = std::make_unique<Principale>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPrincipale::cleanup()
{
    m_window.reset();
}

void TestPrincipale::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QColor>("color");

    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    QTest::newRow("Label4") << "Label4" << "Principale" << QRect(210, 178, 3, 13) << ""
                            << 11 << false << QColor(0, 0, 255);
    QTest::newRow("Label5") << "Label5" << "Principale" << QRect(32, 178, 175, 13)
                            << "Pour cette taille le poids idéal est de :" << 12 << false
                            << QColor(0, 0, 0);
    QTest::newRow("Panel1") << "Panel1" << "Principale" << QRect(12, 70, 193, 89) << "" << 11
                            << false << windowText;
    QTest::newRow("Label1") << "Label1" << "Panel1" << QRect(8, 10, 85, 13)
                            << "Entrer votre taille :" << 11 << true << QColor(0, 0, 0);
    QTest::newRow("Label3") << "Label3" << "Panel1" << QRect(104, 43, 38, 13) << "(en cm) "
                            << 11 << false << windowText;
    QTest::newRow("Edit1") << "Edit1" << "Panel1" << QRect(24, 40, 73, 21) << "160.00" << 11
                           << false << windowText;
    QTest::newRow("Panel2") << "Panel2" << "Principale" << QRect(214, 70, 201, 89) << "" << 11
                            << false << windowText;
    QTest::newRow("Label2") << "Label2" << "Panel2" << QRect(24, 10, 53, 13) << "Vous êtes :"
                            << 11 << true << windowText;
    QTest::newRow("RadioButton1") << "RadioButton1" << "Panel2" << QRect(40, 32, 113, 17)
                                  << "un homme" << 11 << false << windowText;
    QTest::newRow("RadioButton2") << "RadioButton2" << "Panel2" << QRect(40, 56, 113, 17)
                                  << "une femme" << 11 << false << windowText;
    QTest::newRow("StatusBar") << "StatusBar" << "Principale" << QRect(0, 213, 427, 19) << ""
                               << 11 << false << windowText;
}

void TestPrincipale::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(int, pixelSize);
    QFETCH(bool, underline);
    QFETCH(QColor, color);

    QCOMPARE(m_window->size(), QSize(427, 232));
    auto *widget = m_window->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->font().pixelSize(), pixelSize);
    QCOMPARE(widget->font().underline(), underline);
    QCOMPARE(widget->palette().color(QPalette::WindowText), color);
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), text);
        // Every text fits its designed box.
        QVERIFY(label->fontMetrics().horizontalAdvance(text) <= geometry.width());
        QVERIFY(label->fontMetrics().height() <= geometry.height() + 2);
    }
    if (auto *button = qobject_cast<QRadioButton *>(widget)) {
        QCOMPARE(button->text(), text);
        QVERIFY(button->sizeHint().width() <= geometry.width());
    }
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(edit->text(), text);
}

void TestPrincipale::startState()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Morphocalcule"));
    QVERIFY(m_window->RadioButton1->isChecked());
    QVERIFY(!m_window->RadioButton2->isChecked());
    QVERIFY(m_window->Label4->text().isEmpty());
    QCOMPARE(m_window->Edit1->value(), 160.0);
    QCOMPARE(HintText::of(m_window->Label4), QStringLiteral("Résultat|Résultat du calcul."));
    QCOMPARE(HintText::of(m_window->Label5), QStringLiteral("Résultat|Résultat du calcul."));
    QCOMPARE(HintText::of(m_window->Panel1),
             QStringLiteral("Taille|Entrer votre taille en cm (mini 100 cm)."));
    QCOMPARE(HintText::of(m_window->Panel2),
             QStringLiteral("Choix du sexe|Sélectionner votre sexe."));
    for (QWidget *inner : {static_cast<QWidget *>(m_window->Edit1),
                           static_cast<QWidget *>(m_window->RadioButton1),
                           static_cast<QWidget *>(m_window->Label1)})
        QVERIFY(HintText::of(inner).isEmpty());
}

void TestPrincipale::tabOrder()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->Edit1->setFocus();
    QTest::keyClick(m_window->Edit1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_window->RadioButton1);
    QTest::keyClick(m_window->RadioButton1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_window->Edit1);

    m_window->RadioButton2->click();
    QTest::keyClick(m_window->Edit1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_window->RadioButton2);
    QTest::keyClick(m_window->RadioButton2, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), m_window->RadioButton1);
    QVERIFY(m_window->RadioButton1->isChecked());
}

void TestPrincipale::popupMenuItems()
{
    const QList<QAction *> items = m_window->PopupMenu1->actions();
    QCOMPARE(items.size(), 7);
    const QStringList captions = {"&Calculer", "&A propos", "A&ide", "", "I&nformations", "",
                                  "&Quitter"};
    const QStringList hints = {"Lance le calcul du poids idéal.", "A propos de Morphocalcule 1.1",
                               "Affiche une aide d'utilisation.", "",
                               "Option d'affichage des panneaux d'information", "",
                               "Quitte l'application."};
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(items[i]->isSeparator(), captions[i].isEmpty());
        QCOMPARE(items[i]->text(), captions[i]);
        QCOMPARE(HintText::of(items[i]), hints[i]);
        QVERIFY(items[i]->shortcut().isEmpty());
    }
    QVERIFY(m_window->Informations->isCheckable());
    QVERIFY(m_window->Informations->isChecked());
}

void TestPrincipale::rightReleaseOpensPopup_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("window background") << "Principale";
    QTest::newRow("height field, instead of its edit menu") << "Edit1";
    QTest::newRow("label") << "Label5";
    QTest::newRow("radio button") << "RadioButton2";
    QTest::newRow("status bar") << "StatusBar";
}

void TestPrincipale::rightReleaseOpensPopup()
{
    QFETCH(QString, target);
    QWidget *widget = target == u"Principale" ? m_window.get()
                                              : m_window->findChild<QWidget *>(target);
    QVERIFY(widget);
    const QPoint at(5, 5);
    QTest::mousePress(widget, Qt::RightButton, {}, at);
    QVERIFY(!m_window->PopupMenu1->isVisible());
    QTest::mouseRelease(widget, Qt::RightButton, {}, at);
    QTRY_VERIFY(m_window->PopupMenu1->isVisible());
    QCOMPARE(m_window->PopupMenu1->pos(), widget->mapToGlobal(at));
    // The field's own edit menu never shows.
    QCOMPARE(m_window->findChildren<QMenu *>().size(), 1);
    m_window->PopupMenu1->hide();
}

void TestPrincipale::workedValues_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("man");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("fieldAfter");

    struct Row
    {
        const char *typed;
        bool man;
        const char *result;
        const char *fieldAfter; // empty: the field keeps what was typed
    };
    const Row rows[] = {
        {"100,00", true, "12.50 Kg", ""},   {"100,00", false, "25.00 Kg", ""},
        {"100,50", true, "12.88 Kg", ""},   {"100,50", false, "25.25 Kg", ""},
        {"150,00", true, "50.00 Kg", ""},   {"150,00", false, "50.00 Kg", ""},
        {"159,50", true, "57.13 Kg", ""},   {"159,50", false, "54.75 Kg", ""},
        {"160,00", true, "57.50 Kg", ""},   {"160,00", false, "55.00 Kg", ""},
        {"160,50", true, "57.88 Kg", ""},   {"175,00", true, "68.75 Kg", ""},
        {"175,00", false, "62.50 Kg", ""},  {"249,50", true, "124.63 Kg", ""},
        {"249,50", false, "99.75 Kg", ""},  {"250,00", true, "125.00 Kg", ""},
        {"250,00", false, "100.00 Kg", ""}, {"300", true, "162.50 Kg", ""},
        {"300", false, "125.00 Kg", ""},    {"100,1", true, "12.57 Kg", ""},
        {"100,3", true, "12.73 Kg", ""},    {"170,3", true, "65.22 Kg", ""},
        {"100,05", false, "25.02 Kg", ""},  {"100,07", false, "25.04 Kg", ""},
        {"", true, "12.50 Kg", ""},         {"-", true, "12.50 Kg", ""},
        {"99,5", true, "", "100,00"},       {"99,5", false, "", "100,00"},
        {"0", true, "", "100,00"},          {",", false, "", "100,00"},
    };
    for (const char *locale : {"fr_FR.UTF-8", "C.UTF-8"}) {
        const QChar separator = QByteArray(locale).startsWith("fr") ? u',' : u'.';
        for (const Row &row : rows) {
            const QString typed = QString::fromUtf8(row.typed).replace(u',', separator);
            QTest::addRow("%s typed \"%s\" %s", locale, qPrintable(typed),
                          row.man ? "man" : "woman")
                << QString::fromLatin1(locale) << typed << row.man
                << QString::fromUtf8(row.result)
                << QString::fromUtf8(row.fieldAfter).replace(u',', separator);
        }
    }
}

void TestPrincipale::workedValues()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(bool, man);
    QFETCH(QString, result);
    QFETCH(QString, fieldAfter);

    useLocale(m_window->Edit1, locale.toLatin1().constData());
    QTest::mouseClick(man ? m_window->RadioButton1 : m_window->RadioButton2, Qt::LeftButton);
    typeInto(m_window->Edit1, typed);
    QCOMPARE(m_window->Edit1->text(), typed);
    m_window->Calculer2->trigger();
    QCOMPARE(m_window->Label4->text(), result);
    QCOMPARE(m_window->Edit1->text(), fieldAfter.isEmpty() ? typed : fieldAfter);
    QCOMPARE(m_window->Label4->pos(), QPoint(210, 178));
    if (!result.isEmpty())
        QCOMPARE(m_window->Label4->width(),
                 m_window->Label4->fontMetrics().horizontalAdvance(result));
    std::setlocale(LC_ALL, "C.UTF-8");
}

void TestPrincipale::clearRule()
{
    Principale &w = *m_window;
    w.Calculer2->trigger();
    QCOMPARE(w.Label4->text(), QStringLiteral("57.50 Kg"));

    QTest::mouseClick(w.RadioButton1, Qt::LeftButton); // already checked
    QCOMPARE(w.Label4->text(), QStringLiteral("57.50 Kg"));
    QTest::mouseClick(w.RadioButton2, Qt::LeftButton);
    QVERIFY(w.Label4->text().isEmpty());

    w.Calculer2->trigger();
    QCOMPARE(w.Label4->text(), QStringLiteral("55.00 Kg"));
    w.Edit1->setFocus();
    w.Edit1->end(false);
    QTest::keyClick(w.Edit1, Qt::Key_5);
    QVERIFY(w.Label4->text().isEmpty());

    w.Edit1->setValue(250);
    w.Calculer2->trigger();
    QCOMPARE(w.Label4->text(), QStringLiteral("100.00 Kg"));
    QTest::keyClick(w.Edit1, Qt::Key_Up); // clamped back to the same text
    QCOMPARE(w.Label4->text(), QStringLiteral("100.00 Kg"));
    QTest::keyClick(w.Edit1, Qt::Key_Down);
    QVERIFY(w.Label4->text().isEmpty());
}

void TestPrincipale::computeTwiceShowsTheSameText()
{
    m_window->Calculer2->trigger();
    m_window->Calculer2->trigger();
    QCOMPARE(m_window->Label4->text(), QStringLiteral("57.50 Kg"));
}

void TestPrincipale::overflowIsReportedAndLeavesTheResultEmpty()
{
    m_window->Calculer2->trigger();
    typeInto(m_window->Edit1, QStringLiteral("1") + QString(39, u'0'));
    MessageBoxWatcher watcher;
    watcher.arm();
    m_window->Calculer2->trigger();
    QCOMPARE(watcher.title, QStringLiteral("Morphocalcule"));
    QCOMPARE(watcher.text, QStringLiteral("Débordement flottant."));
    QCOMPARE(watcher.icon, QMessageBox::Critical);
    QCOMPARE(watcher.buttons, 1);
    QVERIFY(m_window->Label4->text().isEmpty());
    QVERIFY(m_window->isVisible());

    // The program goes on: the next command works.
    typeInto(m_window->Edit1, QStringLiteral("160"));
    m_window->Calculer2->trigger();
    QCOMPARE(m_window->Label4->text(), QStringLiteral("57.50 Kg"));
}

void TestPrincipale::exceptionReportAddsAFullStop_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Ne peut écrire dans /tmp/x.INI" << "Ne peut écrire dans /tmp/x.INI.";
    QTest::newRow("already ends with a full stop") << "Fin." << "Fin..";
}

void TestPrincipale::exceptionReportAddsAFullStop()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    MessageBoxWatcher watcher;
    watcher.arm();
    bool after = false;
    Application::guard([&] {
        throw std::runtime_error(message.toStdString());
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(watcher.text, shown);
    QCOMPARE(watcher.title, QStringLiteral("Morphocalcule"));
    QCOMPARE(watcher.icon, QMessageBox::Critical);
}

void TestPrincipale::informationsTogglesTheSwitch()
{
    Application *app = Application::instance();
    QVERIFY(app->showHint());
    m_window->Informations->trigger();
    QVERIFY(!m_window->Informations->isChecked());
    QVERIFY(!app->showHint());
    m_window->Informations->trigger();
    QVERIFY(m_window->Informations->isChecked());
    QVERIFY(app->showHint());
}

MORPHO_APPLICATION_TEST_MAIN(TestPrincipale)
#include "tst_principale.moc"
