#pragma once

#include <QWidget>

class QAction;
class QTextBrowser;

// The help engine's own window: one help file shown in a browser, with the contents
// topic and the pages seen before always one click away.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    enum { DefaultWidth = 620, DefaultHeight = 560 };

    // The topics of a help file are its anchors: "contents", and "context-N" for the
    // topic of help context N.
    static QString contentsAnchor() { return QStringLiteral("contents"); }
    static QString contextAnchor(int context) { return QStringLiteral("context-%1").arg(context); }

    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the topic at this anchor, loading the file anew when it is another file or
    // its text has changed since it was shown.
    void showTopic(const QString &path, const QString &text, const QString &anchor);
    QString path() const { return m_path; }
    // Before the first showing: places the window beside the owner's, where the screen
    // has room for it, so that the help does not hide what it explains.
    void placeBeside(const QWidget *owner);
    // The anchor of the topic shown last.
    QString anchor() const;

    QTextBrowser *browser() const { return m_browser; }
    QAction *contentsAction() const { return m_contents; }
    QAction *backAction() const { return m_back; }
    QAction *forwardAction() const { return m_forward; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTextBrowser *const m_browser;
    QAction *m_contents = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
    QString m_path;
    QString m_text;
    bool m_placed = false;
};
