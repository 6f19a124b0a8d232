#pragma once

#include "resources/design/designdata.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <memory>

namespace velmora::test {

/// The window's real controls, built from the design data, with the books page in front.
struct BookForm
{
    BookForm()
        : root(std::make_unique<QWidget>())
    {
        const QJsonObject design = FormBuilder::loadDesign(designDataPath());
        FormBuilder::build(design, root.get());
        root->resize(FormBuilder::clientSize(design));
        control<QTabWidget>(root.get(), QStringLiteral("SSTab1"))->setCurrentIndex(4);
        browser = control<QTextBrowser>(root.get(), QStringLiteral("WebBrowser1"));
        back = control<QPushButton>(root.get(), QStringLiteral("cmdBackForward(0)"));
        forward = control<QPushButton>(root.get(), QStringLiteral("cmdBackForward(1)"));
    }

    /// Shows the form so that pages are laid out and can be clicked.
    bool show()
    {
        root->show();
        return QTest::qWaitForWindowExposed(root.get());
    }

    std::unique_ptr<QWidget> root;
    QTextBrowser *browser = nullptr;
    QPushButton *back = nullptr;
    QPushButton *forward = nullptr;
};

/// Where, in the browser's viewport, the middle of the first link to href is drawn; a null point
/// when the shown page has no such link.
inline QPoint linkPoint(QTextBrowser *browser, const QString &href)
{
    QTextDocument *doc = browser->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isAnchor() || fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(doc);
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            return browser->cursorRect(cursor).center();
        }
    }
    return {};
}

/// Clicks the first link to href on the shown page, as a user would.
inline bool clickLink(QTextBrowser *browser, const QString &href)
{
    const QPoint at = linkPoint(browser, href);
    if (at.isNull())
        return false;
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
    return true;
}

} // namespace velmora::test
