#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class SecretPanel;
class StretchedImage;

// The modal about box: the program's picture, name, version, how it is distributed and
// who wrote it. A click on the picture hides all of that and rolls the credits until
// the panel is clicked.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    enum { ClientWidth = 298, ClientHeight = 186 };

    explicit AboutBox(QWidget *parent = nullptr);

    void ProgramIconClick();
    void SecretPanel1Click();

    static QStringList creditLines();

    SecretPanel *const SecretPanel1;
    StretchedImage *const ProgramIcon;
    QLabel *const ProductName;
    QLabel *const Version;
    QLabel *const Distribution1;
    QLabel *const Distribution2;
    QLabel *const Copyright;
    QPushButton *const BitBtn1;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createPanel();
    void createLabels();
    void createOkButton();
};
