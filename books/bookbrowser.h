#pragma once

#include "toolkit/controls.h"

#include <QObject>
#include <QRadioButton>
#include <QStringList>
#include <QUrl>

#include <functional>

class QPushButton;
class QTextBrowser;

namespace velmora {

/// The books page: four option buttons choose a book, the browser shows its start page from the
/// program folder, and two buttons step back and forward through the pages the user followed.
///
/// QTextBrowser has no "navigation begins" signal of its own, so every navigation (the start
/// page, a followed link, back, forward) is made here and reported through
/// WebBrowser1_BeforeNavigate2 and navigationStarted() before the browser moves.
class BookBrowser : public QObject
{
    Q_OBJECT

public:
    /// The keys of the four books; key i belongs to option button i.
    static QStringList defaultBookKeys();

    /// Finds "optBook(i)", "cmdBackForward(0|1)" and "WebBrowser1" below root (throws
    /// std::logic_error when one is missing) and connects their handlers. Nothing is shown
    /// until GetWebBook runs.
    BookBrowser(QWidget *root, const QString &programFolder, const QStringList &bookKeys,
                QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(BookBrowser)

    /// Replaces the book keys (the window fills its table during start-up).
    void setBookKeys(const QStringList &bookKeys) { m_bookKeys = bookKeys; }
    const QStringList &bookKeys() const { return m_bookKeys; }

    /// The start page of the book with this key: program folder/key/key.htm.
    QString startPagePath(const QString &key) const;

    /// Shows the start page of the chosen book (or, when that file is missing, the same path
    /// without ".htm"), then resets the navigation count and disables both history buttons.
    void GetWebBook();
    /// The user chose a book; the index is not needed since GetWebBook looks at the buttons.
    void optBook_Click(int index);
    /// Index 0 goes back (and enables forward); any other index goes forward.
    void cmdBackForward_Click(int index);
    /// A navigation is about to begin: counts it and enables the back button.
    void WebBrowser1_BeforeNavigate2();

    /// Navigations begun since the last book start page was requested. Stops at the largest
    /// 16-bit value instead of wrapping to a negative count.
    qint16 NavCount() const { return m_navCount; }

    /// Where a link that leaves the installation (http, mailto, ...) goes. Unset, such links are
    /// ignored: the program itself never goes on the network.
    void setExternalLinkHandler(std::function<void(const QUrl &)> handler)
    {
        m_externalLinks = std::move(handler);
    }

    QTextBrowser *browser() const { return m_browser; }

Q_SIGNALS:
    /// Reported at the start of every navigation of the browser, with its target.
    void navigationStarted(const QUrl &url);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void navigate(const QUrl &url);
    bool goBack();
    bool goForward();
    void followLink(const QUrl &link);

    QString m_programFolder;
    QStringList m_bookKeys;
    ControlArray<QRadioButton> m_optBook;
    QPushButton *m_back;
    QPushButton *m_forward;
    QTextBrowser *m_browser;
    qint16 m_navCount = 0;
    std::function<void(const QUrl &)> m_externalLinks;
};

} // namespace velmora
