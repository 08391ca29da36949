#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "Voulez-vous quitter Morphocalcule 1.1 ?": a modal question with "&Oui", "&Non" and
// "&Aide". Its own dialog rather than a QMessageBox, which closes on any button: help
// here shows a topic and leaves the question waiting.
class QuitQuestion : public QDialog
{
    Q_OBJECT

public:
    // NoAnswer: the question's loop was ended from outside, as when the program ends.
    enum Answer { NoAnswer = 0, Closed = 2, Yes = 6, No = 7 };
    enum { HelpContext = 4 };

    explicit QuitQuestion(QWidget *parent = nullptr);

    // A new question each time, shown centred on the screen until it has an answer.
    static int ask(QWidget *parent);

    QLabel *const iconLabel;
    QLabel *const textLabel;
    QPushButton *const yesButton;
    QPushButton *const noButton;
    QPushButton *const helpButton;

public slots:
    // What Esc does in a dialog: here it answers "&Non".
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void layOut();
    void showHelp();
};
