#include "error.h"
#include "startup.h"

#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

constexpr char ChildVariable[] = "MORPHO_STARTUP_CHILD";

// Prints the next message box's caption and text, then answers it.
void reportAndAnswerNextBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box) {
        QTimer::singleShot(10, &reportAndAnswerNextBox);
        return;
    }
    std::printf("%s\n%d\n%s\n", qPrintable(box->windowTitle()), int(box->icon()),
                qPrintable(box->text()));
    std::fflush(stdout);
    box->button(QMessageBox::Ok)->click();
}

// The child: a start-up whose main window cannot be built.
int runFailingStartup(char *programName)
{
    return Startup::run(programName, []() -> std::unique_ptr<QWidget> {
        QTimer::singleShot(0, &reportAndAnswerNextBox);
        throw Error(QStringLiteral("Ressource TPrincipale non trouvée"), "ResourceNotFound");
    });
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void failureOutsideTheCreationHandlerEndsWithCodeOne();
};

void TestStartup::failureOutsideTheCreationHandlerEndsWithCodeOne()
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-platform"), QStringLiteral("xcb")});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 1);

    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n');
    QVERIFY2(lines.size() >= 4, qPrintable(lines.join(u'|')));
    QCOMPARE(lines[0], QStringLiteral("Erreur de l'application"));
    QCOMPARE(lines[1].toInt(), int(QMessageBox::Critical));
    const QRegularExpression first(QStringLiteral(
        "^Exception ResourceNotFound dans le module tst_startup à [0-9A-F]{16}\\.$"));
    QVERIFY2(first.match(lines[2]).hasMatch(), qPrintable(lines[2]));
    QCOMPARE(lines[3], QStringLiteral("Ressource TPrincipale non trouvée."));
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(ChildVariable))
        return runFailingStartup(argv[0]);
    QCoreApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
