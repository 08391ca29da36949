#include "aboutbox.h"
#include "applicationtest.h"
#include "principale.h"
#include "quitquestion.h"
#include "secretpanel.h"
#include "speeditem.h"
#include "spinbutton.h"
#include "spinedit.h"

#include <QAccessible>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <clocale>

namespace {

const QString HeightHint = QStringLiteral("Entrer votre taille en cm (mini 100 cm).");
const QString SexHint = QStringLiteral("Sélectionner votre sexe.");
const QString ResultHint = QStringLiteral("Résultat du calcul.");

// An item as a screen reader meets it: among the children of its menu.
QAccessibleInterface *menuItem(QMenu *menu, QAction *action)
{
    QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; readable && i < readable->childCount(); ++i) {
        if (readable->child(i)->object() == action)
            return readable->child(i);
    }
    return nullptr;
}

} // namespace

// What a screen reader reads over every control of the program's windows: the name, then
// the description.
class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nameAndDescription_data();
    void nameAndDescription();
    void resultLabelIsReadByItsText();
    void menuItemActsAsTheMenuDoes();

private:
    QObject *find(const QString &window, const QString &name) const;

    std::unique_ptr<Principale> m_main;
    std::unique_ptr<AboutBox> m_about;
    std::unique_ptr<QuitQuestion> m_question;
};

void TestAccessibility::initTestCase()
{
    std::setlocale(LC_ALL, "C.UTF-8");
    m_main = std::make_unique<Principale>();
    m_about = std::make_unique<AboutBox>();
    m_question = std::make_unique<QuitQuestion>();
}

QObject *TestAccessibility::find(const QString &window, const QString &name) const
{
    if (window == u"main") {
        if (name == u"SpinButton")
            return m_main->Edit1->findChild<SpinButton *>();
        if (auto *item = m_main->findChild<SpeedItem *>(name))
            return item->button();
        const QHash<QString, QAction *> items{{"Calculer2", m_main->Calculer2},
                                              {"Apropos2", m_main->Apropos2},
                                              {"Aide1", m_main->Aide1},
                                              {"Informations", m_main->Informations},
                                              {"Quitter2", m_main->Quitter2}};
        if (QAction *item = items.value(name))
            return item;
        return m_main->findChild<QWidget *>(name);
    }
    if (window == u"about")
        return m_about->findChild<QWidget *>(name);
    if (name == u"yes")
        return m_question->yesButton;
    if (name == u"no")
        return m_question->noButton;
    if (name == u"help")
        return m_question->helpButton;
    return m_question.get();
}

void TestAccessibility::nameAndDescription_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    const auto row = [](const char *title, const QString &window, const QString &object,
                        const QString &name, const QString &description) {
        QTest::newRow(title) << window << object << name << description;
    };

    row("height field", "main", "Edit1", "Taille", HeightHint);
    row("height field's spin button", "main", "SpinButton", "Taille", HeightHint);
    row("height panel", "main", "Panel1", "Taille", HeightHint);
    row("height caption", "main", "Label1", "Entrer votre taille :", HeightHint);
    row("unit label", "main", "Label3", "(en cm) ", HeightHint);
    row("sex panel", "main", "Panel2", "Choix du sexe", SexHint);
    row("sex caption", "main", "Label2", "Vous êtes :", SexHint);
    row("man", "main", "RadioButton1", "un homme", SexHint);
    row("woman", "main", "RadioButton2", "une femme", SexHint);
    row("result caption", "main", "Label5",
        "Pour cette taille le poids idéal est de :", ResultHint);
    row("empty result", "main", "Label4", "", ResultHint);

    row("tool bar Calculer", "main", "Calculer1", "Calculer", "Lance le calcul du poids idéal.");
    row("tool bar A propos", "main", "Apropos1", "A propos", "A propos de Morphocalcule 1.1");
    row("tool bar Aide", "main", "Aide", "Aide", "Affiche une aide d'utilisation.");
    row("tool bar Quitter", "main", "Quitter1", "Quitter", "Quitte l'application.");

    row("menu Calculer", "main", "Calculer2", "Calculer", "Lance le calcul du poids idéal.");
    row("menu A propos", "main", "Apropos2", "A propos", "A propos de Morphocalcule 1.1");
    row("menu Aide", "main", "Aide1", "Aide", "Affiche une aide d'utilisation.");
    row("menu Informations", "main", "Informations", "Informations",
        "Option d'affichage des panneaux d'information");
    row("menu Quitter", "main", "Quitter2", "Quitter", "Quitte l'application.");

    // The about box's hints have short parts only.
    row("about picture", "about", "ProgramIcon", "Click !", "");
    row("about Ok", "about", "BitBtn1", "Ok", "Refermer cet écran");
    row("about panel", "about", "SecretPanel1", "Click pour fermer cet écran", "");
    row("about product name", "about", "ProductName", "Morphocalcule", "");
    row("about version", "about", "Version", "Version 1.1", "");

    row("quit question", "question", "", "Confirmation", "Voulez-vous quitter Morphocalcule 1.1 ?");
    row("quit question Oui", "question", "yes", "Oui", "Ferme Morphocalcule.");
    row("quit question Non", "question", "no", "Non", "Laisse Morphocalcule ouvert.");
    row("quit question Aide", "question", "help", "Aide", "Affiche l'aide sur la fermeture.");
}

void TestAccessibility::nameAndDescription()
{
    QFETCH(QString, window);
    QFETCH(QString, object);
    QFETCH(QString, name);
    QFETCH(QString, description);

    QObject *target = find(window, object);
    QVERIFY(target);
    auto *action = qobject_cast<QAction *>(target);
    QAccessibleInterface *readable = action ? menuItem(m_main->PopupMenu1, action)
                                            : QAccessible::queryAccessibleInterface(target);
    QVERIFY(readable);
    QCOMPARE(readable->text(QAccessible::Name), name);
    QCOMPARE(readable->text(QAccessible::Description), description);
    if (action) {
        QCOMPARE(readable->role(), QAccessible::MenuItem);
        QCOMPARE(readable->parent()->object(), m_main->PopupMenu1);
        QCOMPARE(readable->text(QAccessible::Accelerator),
                 action->text().mid(action->text().indexOf(u'&') + 1, 1).toUpper());
    }
}

void TestAccessibility::resultLabelIsReadByItsText()
{
    QAccessibleInterface *result = QAccessible::queryAccessibleInterface(m_main->Label4);
    m_main->Calculer1Click();
    QCOMPARE(result->text(QAccessible::Name), QStringLiteral("57.50 Kg"));
    m_main->RadioButton2->click();
    QCOMPARE(result->text(QAccessible::Name), QString());
    QCOMPARE(result->text(QAccessible::Description), ResultHint);
    m_main->RadioButton1->click();
}

// A reader can press an item, and sees the check mark of "Informations".
void TestAccessibility::menuItemActsAsTheMenuDoes()
{
    QAccessibleInterface *informations = menuItem(m_main->PopupMenu1, m_main->Informations);
    QVERIFY(informations);
    QVERIFY(informations->state().checkable);
    QVERIFY(informations->state().checked);
    QAccessibleActionInterface *actions = informations->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    actions->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(!m_main->Informations->isChecked());
    QVERIFY(!Application::instance()->showHint());
    QVERIFY(!informations->state().checked);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(m_main->Informations->isChecked());
    QVERIFY(Application::instance()->showHint());
}

MORPHO_APPLICATION_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
