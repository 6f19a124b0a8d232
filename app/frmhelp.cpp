#include "app/frmhelp.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace velmora {

namespace {

const auto kIndexPage = QStringLiteral("index.html");
const auto kKeywordFile = QStringLiteral("keywords.txt");

QString foldKeyword(const QString &keyword)
{
    return keyword.simplified().toCaseFolded();
}

// A target stays inside the help folder: a relative path of plain names, an optional anchor.
bool isSafeTarget(const QString &target)
{
    const QString page = target.section(QLatin1Char('#'), 0, 0);
    if (page.isEmpty() || page.startsWith(QLatin1Char('/')) || page.contains(QLatin1Char('\\')) ||
        page.contains(QLatin1Char(':')))
        return false;
    const QStringList parts = page.split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String("..") || part == QLatin1String("."))
            return false;
    }
    return true;
}

QUrl pageUrl(const QString &folder, const QString &target)
{
    const QString page = target.section(QLatin1Char('#'), 0, 0);
    const QString anchor = target.section(QLatin1Char('#'), 1);
    QUrl url = QUrl::fromLocalFile(QDir(folder).absoluteFilePath(page));
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

bool isHelpPage(const QFileInfo &file)
{
    const QString suffix = file.suffix().toLower();
    return file.isFile() && (suffix == QLatin1String("html") || suffix == QLatin1String("htm"));
}

} // namespace

HelpKeywordMap HelpKeywordMap::parse(const QByteArray &text)
{
    HelpKeywordMap map;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        const QString keyword = foldKeyword(line.left(tab));
        const QString target = line.mid(tab + 1).trimmed();
        if (keyword.isEmpty() || !isSafeTarget(target))
            continue;
        // The first entry of a keyword wins, as in a printed index.
        if (!map.m_targets.contains(keyword))
            map.m_targets.insert(keyword, target);
    }
    return map;
}

HelpKeywordMap HelpKeywordMap::load(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // The map is a few lines; a file far larger than that is not a keyword map.
    return parse(f.read(1 << 20));
}

QString HelpKeywordMap::target(const QString &keyword) const
{
    return m_targets.value(foldKeyword(keyword));
}

QString helpFolder(const QString &programFolder)
{
    return QDir(programFolder).absoluteFilePath(QStringLiteral("help"));
}

QUrl helpTopicUrl(const QString &folder, const QString &keyword)
{
    const QDir dir(folder);
    const QString target = HelpKeywordMap::load(dir.absoluteFilePath(kKeywordFile)).target(keyword);
    if (!target.isEmpty()) {
        const QUrl url = pageUrl(folder, target);
        if (isHelpPage(QFileInfo(url.toLocalFile())))
            return url;
    }
    if (isHelpPage(QFileInfo(dir.absoluteFilePath(kIndexPage))))
        return pageUrl(folder, kIndexPage);
    return {};
}

frmHelp::frmHelp(QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_browser(new QTextBrowser(this))
    , m_back(new QPushButton(tr("&Back"), this))
    , m_forward(new QPushButton(tr("&Forward"), this))
    , m_contents(new QPushButton(tr("&Contents"), this))
    , m_openExternal([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Velmora Help"));
    setAttribute(Qt::WA_QuitOnClose, false);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_back->setObjectName(QStringLiteral("cmdHelpBack"));
    m_forward->setObjectName(QStringLiteral("cmdHelpForward"));
    m_contents->setObjectName(QStringLiteral("cmdHelpContents"));
    m_back->setShortcut(QKeySequence::Back);
    m_forward->setShortcut(QKeySequence::Forward);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    // Links are checked here first, so that nothing outside the help folder loads in the viewer.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(m_contents);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QPushButton::clicked, this, &frmHelp::showContents);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &frmHelp::followLink);

    resize(760, 620);
}

frmHelp::~frmHelp() = default;

QString frmHelp::missingMessage(const QString &folder)
{
    return tr("The help document of Velmora was not found.\n\n"
              "It should be in the folder\n%1\n\n"
              "Reinstalling the program puts it back.")
        .arg(QDir::toNativeSeparators(folder));
}

void frmHelp::showTopic(const QString &folder, const QString &keyword)
{
    m_folder = folder;
    const QUrl url = helpTopicUrl(folder, keyword);
    if (url.isEmpty()) {
        showMissing();
        return;
    }
    m_missing = false;
    m_browser->setSource(url);
}

void frmHelp::showContents()
{
    const QString index = QDir(m_folder).absoluteFilePath(kIndexPage);
    if (m_folder.isEmpty() || !isHelpPage(QFileInfo(index))) {
        showMissing();
        return;
    }
    m_missing = false;
    m_browser->setSource(QUrl::fromLocalFile(index));
}

void frmHelp::showMissing()
{
    m_missing = true;
    // A fresh message replaces the pages: history of a vanished document leads nowhere.
    m_browser->setSource(QUrl());
    m_browser->clearHistory();
    m_browser->setPlainText(missingMessage(m_folder));
}

void frmHelp::followLink(const QUrl &link)
{
    const QUrl url = m_browser->source().resolved(link);
    if (!url.isLocalFile()) {
        if (m_openExternal)
            m_openExternal(url);
        return;
    }
    const QFileInfo file(url.toLocalFile());
    const QString root = QFileInfo(m_folder).canonicalFilePath();
    const QString path = file.canonicalFilePath();
    const bool inside = !root.isEmpty() && path.startsWith(root + QLatin1Char('/'));
    if (inside && isHelpPage(file)) {
        m_browser->setSource(url);
        return;
    }
    // Other local files (a licence text, a file outside the document) open with the desktop.
    if (file.exists() && m_openExternal)
        m_openExternal(url);
}

frmHelp *showHelp(QWidget *owner, const QString &programFolder, const QString &keyword)
{
    frmHelp *viewer =
        owner ? owner->findChild<frmHelp *>(QStringLiteral("frmHelp"), Qt::FindDirectChildrenOnly)
              : nullptr;
    if (!viewer)
        viewer = new frmHelp(owner);
    viewer->showTopic(helpFolder(programFolder), keyword);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

void mnuHelpHowTo_Click(QWidget *owner, const QString &programFolder)
{
    showHelp(owner, programFolder, QStringLiteral("How to use Velmora"));
}

void mnuHelpPrimer_Click(QWidget *owner, const QString &programFolder)
{
    showHelp(owner, programFolder, QStringLiteral("Primer"));
}

void mnuHelpMemorizable_Click(QWidget *owner, const QString &programFolder)
{
    showHelp(owner, programFolder, QStringLiteral("Memorizable"));
}

void mnuHelpAbout_Click(QWidget *owner, const QString &programFolder)
{
    showHelp(owner, programFolder, QStringLiteral("About"));
}

int connectHelpMenu(QWidget *window, const QString &programFolder)
{
    using Handler = void (*)(QWidget *, const QString &);
    const std::pair<const char *, Handler> commands[] = {
        {"mnuHelpHowTo", &mnuHelpHowTo_Click},
        {"mnuHelpPrimer", &mnuHelpPrimer_Click},
        {"mnuHelpMemorizable", &mnuHelpMemorizable_Click},
        {"mnuHelpAbout", &mnuHelpAbout_Click},
    };
    int found = 0;
    for (const auto &[name, handler] : commands) {
        auto *action = window->findChild<QAction *>(QString::fromLatin1(name));
        if (!action)
            continue;
        ++found;
        QObject::connect(action, &QAction::triggered, window,
                         [window, programFolder, handler] { handler(window, programFolder); });
    }
    return found;
}

} // namespace velmora
