#include "toolkit/controls.h"

#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace velmora {

QString arrayName(const QString &base, int index)
{
    return base + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

std::optional<std::pair<QString, int>> splitArrayName(const QString &name)
{
    // "base(index)": a base of at least one character, one to five ASCII digits. Read by hand:
    // a regular expression's compilation alone costs the start a measurable part of a millisecond.
    const qsizetype open = name.lastIndexOf(u'(');
    const qsizetype digits = name.size() - open - 2;
    if (open < 1 || !name.endsWith(u')') || digits < 1 || digits > 5)
        return std::nullopt;
    int index = 0;
    for (const QChar c : QStringView(name).sliced(open + 1, digits)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        index = index * 10 + (c.unicode() - u'0');
    }
    return std::make_pair(name.left(open), index);
}

namespace detail {

void throwMissingControl(const QString &name, const char *type, int found)
{
    const QString what = found == 0
                             ? QStringLiteral("no control named \"%1\" of type %2")
                             : QStringLiteral("more than one control named \"%1\" of type %2");
    throw std::logic_error(what.arg(name, QLatin1String(type)).toStdString());
}

void throwMissingArray(const QString &base, const char *type)
{
    throw std::logic_error(QStringLiteral("no control array \"%1\" of type %2")
                               .arg(base, QLatin1String(type))
                               .toStdString());
}

void throwMissingMember(const QString &base, int index)
{
    throw std::logic_error(QStringLiteral("control array has no member \"%1\"")
                               .arg(arrayName(base, index))
                               .toStdString());
}

} // namespace detail

void setButtonImage(QAbstractButton *button, const QIcon &icon)
{
    if (!button->text().isEmpty() && button->accessibleName().isEmpty())
        button->setAccessibleName(button->text());
    button->setText(QString());
    button->setIcon(icon);
    const QSize inner = button->size() - QSize(8, 8);
    if (inner.isValid() && !inner.isEmpty())
        button->setIconSize(inner);
}

namespace {

/// Moves a box's caret to the start when the box is next shown.
class CaretToStartOnShow : public QObject
{
public:
    explicit CaretToStartOnShow(QPlainTextEdit *box)
        : QObject(box)
        , m_box(box)
    {
        setObjectName(QStringLiteral("velmoraCaretToStart"));
        box->installEventFilter(this);
    }

    bool pending = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (pending && watched == m_box && event->type() == QEvent::Show) {
            pending = false;
            m_box->moveCursor(QTextCursor::Start);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPlainTextEdit *m_box;
};

} // namespace

void setMultiLineText(QPlainTextEdit *box, const QString &text)
{
    auto *caret = box->findChild<CaretToStartOnShow *>(QStringLiteral("velmoraCaretToStart"),
                                                       Qt::FindDirectChildrenOnly);
    if (box->isVisible()) {
        box->setPlainText(text);
        if (caret)
            caret->pending = false;
        return;
    }
    // Placing the caret lays the text out; the document alone does not.
    box->document()->setPlainText(text);
    if (!caret)
        caret = new CaretToStartOnShow(box);
    caret->pending = true;
}

void removeFocusMark(QWidget *widget)
{
    widget->clearFocus();
}

void processPendingEvents()
{
    QCoreApplication::processEvents();
}

} // namespace velmora
