#pragma once

#include <QHash>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class QPushButton;
class QTextBrowser;

namespace velmora {

/// The keywords of the help document and the page each one opens. The map is a text file in the
/// help folder: one "keyword<TAB>page" or "keyword<TAB>page#anchor" per line; blank lines and
/// lines starting with "#" are skipped.
class HelpKeywordMap
{
public:
    /// Reads the map from the bytes of the file. Lines without a TAB or without a page, and
    /// targets that would leave the help folder (absolute paths, "..", a URL scheme), are skipped.
    static HelpKeywordMap parse(const QByteArray &text);
    /// Reads the map file; a missing or unreadable file gives an empty map.
    static HelpKeywordMap load(const QString &file);

    /// The page (and anchor) of a keyword, relative to the help folder; empty when the keyword is
    /// unknown. Letter case and surrounding blanks of the keyword do not matter.
    QString target(const QString &keyword) const;
    int size() const { return int(m_targets.size()); }

private:
    QHash<QString, QString> m_targets;
};

/// The help folder of a program folder: "help" beside the executable.
QString helpFolder(const QString &programFolder);

/// The page a keyword opens in the help folder: its page from the keyword map, or the index page
/// when the keyword is unknown or its page is missing. An empty URL when neither exists.
QUrl helpTopicUrl(const QString &folder, const QString &keyword);

/// The help viewer: a window of its own beside the main window, never modal, with back, forward
/// and contents buttons. Local pages of the help folder open inside it; any other link is handed
/// to the external link opener (the desktop's browser unless replaced).
class frmHelp : public QWidget
{
    Q_OBJECT

public:
    using LinkOpener = std::function<void(const QUrl &)>;

    /// With an owner the viewer is a separate top-level window that closes with the owner.
    explicit frmHelp(QWidget *owner = nullptr);
    ~frmHelp() override;
    Q_DISABLE_COPY_MOVE(frmHelp)

    /// Shows the topic of the keyword from the help folder, or a plain message in the viewer when
    /// the help document is missing.
    void showTopic(const QString &folder, const QString &keyword);

    /// True while the viewer shows its message about a missing help document.
    bool showsMissingMessage() const { return m_missing; }
    QTextBrowser *browser() const { return m_browser; }
    void setExternalLinkOpener(LinkOpener opener) { m_openExternal = std::move(opener); }

    /// The text shown when no page of the help document can be found in folder.
    static QString missingMessage(const QString &folder);

private:
    void followLink(const QUrl &link);
    void showContents();
    void showMissing();

    QTextBrowser *m_browser;
    QPushButton *m_back;
    QPushButton *m_forward;
    QPushButton *m_contents;
    QString m_folder;
    bool m_missing = false;
    LinkOpener m_openExternal;
};

/// Opens the help viewer of owner (creating it the first time) at the topic of the keyword, from
/// the help document of the program folder, and brings it to the front.
frmHelp *showHelp(QWidget *owner, const QString &programFolder, const QString &keyword);

// The four commands of the Help menu, each opening its topic.
void mnuHelpHowTo_Click(QWidget *owner, const QString &programFolder);
void mnuHelpPrimer_Click(QWidget *owner, const QString &programFolder);
void mnuHelpMemorizable_Click(QWidget *owner, const QString &programFolder);
void mnuHelpAbout_Click(QWidget *owner, const QString &programFolder);

/// Connects the actions "mnuHelpHowTo", "mnuHelpPrimer", "mnuHelpMemorizable" and "mnuHelpAbout"
/// found below window to the four commands. Returns how many of the four were found.
int connectHelpMenu(QWidget *window, const QString &programFolder);

} // namespace velmora
