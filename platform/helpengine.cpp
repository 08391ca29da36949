#include "helpengine.h"

#include "helpwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QWindow>

namespace {

const QString Caption = QStringLiteral("Aide");

// The names a browser can scroll to, found the way it finds them.
QStringList anchorNames(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QStringList names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            names += fragment.fragment().charFormat().anchorNames();
    }
    return names;
}

// A window of the engine stays usable while one of the program's dialogs is modal: it
// becomes that dialog's transient, as a window of a separate help program would be.
void present(QWidget *window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    QWidget *modal = QApplication::activeModalWidget();
    if (QWindow *handle = window->windowHandle()) {
        handle->setTransientParent(modal && modal != window ? modal->windowHandle() : nullptr);
    }
    window->raise();
    window->activateWindow();
}

} // namespace

HelpEngine::HelpEngine(QObject *parent) : HelpEngine(defaultSearchPath(), parent) {}

HelpEngine::HelpEngine(const QStringList &searchPath, QObject *parent)
    : QObject(parent), m_searchPath(searchPath)
{
}

HelpEngine::~HelpEngine() = default;

QStringList HelpEngine::defaultSearchPath()
{
    const QString beside = QCoreApplication::applicationDirPath();
    QStringList folders{beside, QStringLiteral(MORPHO_HELP_DATADIR),
                        QDir::cleanPath(beside + QStringLiteral("/../share/morphocalcule"))};
    folders.removeDuplicates();
    return folders;
}

QString HelpEngine::locate(const QString &file) const
{
    if (file.contains(u'/')) {
        const QFileInfo given(file);
        return given.isFile() ? given.absoluteFilePath() : QString();
    }
    for (const QString &folder : m_searchPath) {
        const QFileInfo candidate(QDir(folder), file);
        if (!file.isEmpty() && candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return QString();
}

bool HelpEngine::request(const QString &file, Command command, int data, const QWidget *owner)
{
    switch (command) {
    case Context:
        return showContext(file, data, owner);
    case Quit:
        return quit();
    case Contents:
        return showContents(file, owner);
    }
    return false;
}

bool HelpEngine::showContents(const QString &file, const QWidget *owner)
{
    return showTopic(file, 0, true, owner);
}

bool HelpEngine::showContext(const QString &file, int context, const QWidget *owner)
{
    return showTopic(file, context, false, owner);
}

bool HelpEngine::quit()
{
    if (m_window)
        m_window->close();
    return true;
}

bool HelpEngine::showTopic(const QString &file, int context, bool contents, const QWidget *owner)
{
    const QString path = locate(file);
    if (path.isEmpty()) {
        complain(QStringLiteral("Le fichier d'aide « %1 » est introuvable.").arg(file),
                 QStringLiteral("Il a été cherché dans :\n%1").arg(m_searchPath.join(u'\n')));
        return false;
    }
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        complain(QStringLiteral("Le fichier d'aide « %1 » ne peut pas être lu.").arg(path),
                 QStringLiteral("Vérifiez que vous avez le droit de le lire."));
        return false;
    }
    const QByteArray bytes = input.readAll();
    const QString text = QStringDecoder::decoderForHtml(bytes).decode(bytes);
    const QStringList anchors = anchorNames(text);
    if (!anchors.contains(HelpWindow::contentsAnchor())) {
        complain(QStringLiteral("« %1 » n'est pas un fichier d'aide : il n'a pas de sommaire.")
                     .arg(path));
        return false;
    }
    const QString anchor =
        contents ? HelpWindow::contentsAnchor() : HelpWindow::contextAnchor(context);
    if (!anchors.contains(anchor)) {
        complain(QStringLiteral("Le fichier d'aide « %1 » n'a pas de rubrique pour le contexte "
                                "d'aide %2.")
                     .arg(path)
                     .arg(context));
        return false;
    }

    if (!m_window)
        m_window = std::make_unique<HelpWindow>();
    m_window->showTopic(path, text, anchor);
    m_window->placeBeside(owner);
    present(m_window.get());
    return true;
}

// One complaint on screen at a time: a new one takes the place of one still shown.
void HelpEngine::complain(const QString &text, const QString &details)
{
    m_complaint =
        std::make_unique<QMessageBox>(QMessageBox::Warning, Caption, text, QMessageBox::Ok);
    m_complaint->setObjectName(QStringLiteral("HelpComplaint"));
    m_complaint->setInformativeText(details);
    present(m_complaint.get());
}
