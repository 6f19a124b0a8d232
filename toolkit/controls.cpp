#include "toolkit/controls.h"

#include <QCoreApplication>
#include <QIcon>
#include <QRegularExpression>

namespace velmora {

QString arrayName(const QString &base, int index)
{
    return base + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

std::optional<std::pair<QString, int>> splitArrayName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(.+)\((\d{1,5})\)$)"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return std::make_pair(match.captured(1), match.captured(2).toInt());
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

void removeFocusMark(QWidget *widget)
{
    widget->clearFocus();
}

void processPendingEvents()
{
    QCoreApplication::processEvents();
}

} // namespace velmora
