#include "helpwindow.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    resize(DefaultWidth, DefaultHeight);

    auto *toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_contents = toolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                    QStringLiteral("&Sommaire"));
    m_back = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                QStringLiteral("&Précédent"));
    m_forward = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                   QStringLiteral("S&uivant"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    connect(m_contents, &QAction::triggered, this, [this] {
        QUrl url = m_browser->source();
        url.setFragment(contentsAnchor());
        m_browser->setSource(url, QTextDocument::HtmlResource);
        m_browser->scrollToAnchor(contentsAnchor());
    });
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_browser);
    setFocusProxy(m_browser);
}

void HelpWindow::showTopic(const QString &path, const QString &text, const QString &anchor)
{
    // The browser loads the file itself; it only needs telling when the file it shows
    // has changed on disk since.
    if (path == m_path && text != m_text)
        m_browser->reload();
    m_path = path;
    m_text = text;
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(anchor);
    m_browser->setSource(url, QTextDocument::HtmlResource);
    m_browser->scrollToAnchor(anchor);
    setWindowTitle(m_browser->documentTitle().isEmpty() ? QFileInfo(path).fileName()
                                                        : m_browser->documentTitle());
}

void HelpWindow::placeBeside(const QWidget *owner)
{
    if (m_placed || !owner || !owner->isVisible())
        return;
    m_placed = true;
    const QRect screen = owner->screen()->availableGeometry();
    const QRect beside = owner->frameGeometry();
    const QSize size = frameGeometry().size();
    int left = beside.right() + 1;
    if (left + size.width() > screen.right() + 1)
        left = beside.left() - size.width();
    // Where neither side has room, the window manager knows best.
    if (left < screen.left())
        return;
    move(left, qBound(screen.top(), beside.top(),
                      qMax(screen.top(), screen.bottom() + 1 - size.height())));
}

QString HelpWindow::anchor() const
{
    return m_browser->source().fragment();
}

void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
