#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class HelpWindow;
class QMessageBox;

// The help engine: shows the topics of a help file in a window of its own. A request
// names the file; a bare name is looked for beside the executable, then in the
// installed data folder. What goes wrong (no file, an unreadable one, a topic the file
// lacks) the engine tells the user itself, once per request, and the caller goes on.
class HelpEngine : public QObject
{
    Q_OBJECT

public:
    // The values of the platform's help commands.
    enum Command { Context = 1, Quit = 2, Contents = 3 };

    explicit HelpEngine(QObject *parent = nullptr);
    explicit HelpEngine(const QStringList &searchPath, QObject *parent = nullptr);
    ~HelpEngine() override;

    // Beside the executable, the data folder of the installation, and the data folder
    // relative to the executable, for an installation that was moved.
    static QStringList defaultSearchPath();
    QStringList searchPath() const { return m_searchPath; }
    // The full path of the file, or empty when it is nowhere to be found.
    QString locate(const QString &file) const;

    // True when the request was carried out: the topic shown, or help closed. The owner,
    // the window asking for help, if any, decides where the help window first appears.
    bool request(const QString &file, Command command, int data, const QWidget *owner = nullptr);
    bool showContents(const QString &file, const QWidget *owner = nullptr);
    bool showContext(const QString &file, int context, const QWidget *owner = nullptr);
    bool quit();

    HelpWindow *window() const { return m_window.get(); }
    QMessageBox *complaint() const { return m_complaint.get(); }

private:
    bool showTopic(const QString &file, int context, bool contents, const QWidget *owner);
    void complain(const QString &text, const QString &details = QString());

    const QStringList m_searchPath;
    std::unique_ptr<HelpWindow> m_window;
    std::unique_ptr<QMessageBox> m_complaint;
};
