#include "books/bookbrowser.h"

#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>

#include <limits>

namespace velmora {

namespace {

const auto kHtmExtension = QStringLiteral(".htm");

/// Links that stay inside the installation: local files and places within the current page.
bool isLocalLink(const QUrl &url)
{
    return url.isRelative() || url.isLocalFile() || url.scheme() == u"qrc";
}

} // namespace

QStringList BookBrowser::defaultBookKeys()
{
    return {QStringLiteral("ars-brevis"), QStringLiteral("liber-de-lumine"),
            QStringLiteral("velmora"), QStringLiteral("seven-planets")};
}

BookBrowser::BookBrowser(QWidget *root, const QString &programFolder, const QStringList &bookKeys,
                         QObject *parent)
    : QObject(parent)
    , m_programFolder(programFolder)
    , m_bookKeys(bookKeys)
    , m_optBook(root, QStringLiteral("optBook"))
    , m_back(control<QPushButton>(root, arrayName(QStringLiteral("cmdBackForward"), 0)))
    , m_forward(control<QPushButton>(root, arrayName(QStringLiteral("cmdBackForward"), 1)))
    , m_browser(control<QTextBrowser>(root, QStringLiteral("WebBrowser1")))
{
    // The browser must not move on its own: links come here so that their start is reported.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl &link) { followLink(link); });
    // Its keyboard history shortcuts would bypass the count as well.
    m_browser->installEventFilter(this);

    m_optBook.onToggled(this, [this](int index, bool chosen) {
        if (chosen)
            optBook_Click(index);
    });
    connect(m_back, &QPushButton::clicked, this, [this] { cmdBackForward_Click(0); });
    connect(m_forward, &QPushButton::clicked, this, [this] { cmdBackForward_Click(1); });
}

QString BookBrowser::startPagePath(const QString &key) const
{
    return m_programFolder + QLatin1Char('/') + key + QLatin1Char('/') + key + kHtmExtension;
}

void BookBrowser::GetWebBook()
{
    int chosen = -1;
    for (const auto &[index, button] : m_optBook) {
        if (button->isChecked()) {
            chosen = index;
            break;
        }
    }
    // A button without a key has no book to show; the history is still reset below.
    if (chosen >= 0 && chosen < m_bookKeys.size() && !m_bookKeys.at(chosen).isEmpty()) {
        QString path = startPagePath(m_bookKeys.at(chosen));
        if (!QFileInfo(path).isFile())
            path.chop(kHtmExtension.size());
        navigate(QUrl::fromLocalFile(path));
    }
    m_navCount = 0;
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
}

void BookBrowser::optBook_Click(int index)
{
    Q_UNUSED(index);
    GetWebBook();
}

void BookBrowser::cmdBackForward_Click(int index)
{
    if (index != 0)
        goForward();
    else if (goBack())
        m_forward->setEnabled(true);
    removeFocusMark(m_back);
    removeFocusMark(m_forward);
}

void BookBrowser::WebBrowser1_BeforeNavigate2()
{
    // Saturate: a count that wrapped negative would stop enabling the back button.
    if (m_navCount < std::numeric_limits<qint16>::max())
        ++m_navCount;
    if (m_navCount > 0)
        m_back->setEnabled(true);
}

void BookBrowser::navigate(const QUrl &url)
{
    WebBrowser1_BeforeNavigate2();
    Q_EMIT navigationStarted(url);
    m_browser->setSource(url);
}

bool BookBrowser::goBack()
{
    if (!m_browser->isBackwardAvailable())
        return false;
    WebBrowser1_BeforeNavigate2();
    Q_EMIT navigationStarted(m_browser->historyUrl(-1));
    m_browser->backward();
    return true;
}

bool BookBrowser::goForward()
{
    if (!m_browser->isForwardAvailable())
        return false;
    WebBrowser1_BeforeNavigate2();
    Q_EMIT navigationStarted(m_browser->historyUrl(1));
    m_browser->forward();
    return true;
}

void BookBrowser::followLink(const QUrl &link)
{
    if (!isLocalLink(link)) {
        if (m_externalLinks)
            m_externalLinks(link);
        return;
    }
    navigate(m_browser->source().resolved(link));
}

bool BookBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_browser && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool alt = key->modifiers().testFlag(Qt::AltModifier);
        if ((alt && key->key() == Qt::Key_Left) || key->key() == Qt::Key_Back) {
            cmdBackForward_Click(0);
            return true;
        }
        if ((alt && key->key() == Qt::Key_Right) || key->key() == Qt::Key_Forward) {
            cmdBackForward_Click(1);
            return true;
        }
        // "Home" would jump to the first page ever shown, past the count; it is not offered.
        if (alt && key->key() == Qt::Key_Up)
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora
