#include "calendar/core/dayinfo.h"

#include <array>

namespace velmora {

void clsDayInfo::setSelected(bool bNewValue)
{
    m_selected = bNewValue;
    if (bNewValue) {
        m_backColor = kSelectionBlue;
        m_foreColor = kWhite;
        m_rectColor = kSelectionBlue;
    } else {
        m_backColor = kWhite;
        m_foreColor = kBlack;
        m_rectColor = kWhite;
    }
}

DayInfoColError::DayInfoColError(Kind kind, const QString &what)
    : std::runtime_error(what.toStdString())
    , m_kind(kind)
{}

clsDayInfoCol::Record clsDayInfoCol::Add(const Moment &dtDateTime, bool bSelected,
                                         qint32 lBackColor, qint32 lForeColor, qint32 lRectColor,
                                         bool bBold)
{
    const QString key = FormatKey(dtDateTime);
    if (m_positions.contains(key))
        throw DayInfoColError(DayInfoColError::Kind::DuplicateKey,
                              QStringLiteral("day already in the collection: ") + key);
    auto record = std::make_shared<clsDayInfo>();
    record->setDateTime(dtDateTime);
    record->setSelected(bSelected);
    record->setBackColor(lBackColor);
    record->setForeColor(lForeColor);
    record->setRectColor(lRectColor);
    record->setBold(bBold);
    if (bSelected) {
        record->setBackColor(clsDayInfo::kSelectionBlue);
        record->setForeColor(clsDayInfo::kWhite);
    }
    m_positions.insert(key, Count());
    m_records.push_back(record);
    m_keys.push_back(key);
    return record;
}

clsDayInfoCol::Record clsDayInfoCol::Item(qsizetype position) const
{
    if (!Exists(position))
        throw DayInfoColError(DayInfoColError::Kind::NotFound,
                              QStringLiteral("no day at position %1").arg(position));
    return m_records[static_cast<size_t>(position - 1)];
}

clsDayInfoCol::Record clsDayInfoCol::Item(const QString &key) const
{
    const auto it = m_positions.constFind(key);
    if (it == m_positions.cend())
        throw DayInfoColError(DayInfoColError::Kind::NotFound,
                              QStringLiteral("no day with the key ") + key);
    return m_records[static_cast<size_t>(*it)];
}

void clsDayInfoCol::Remove(qsizetype position)
{
    if (!Exists(position))
        throw DayInfoColError(DayInfoColError::Kind::NotFound,
                              QStringLiteral("no day at position %1").arg(position));
    eraseAt(position - 1);
}

void clsDayInfoCol::Remove(const QString &key)
{
    const auto it = m_positions.constFind(key);
    if (it == m_positions.cend())
        throw DayInfoColError(DayInfoColError::Kind::NotFound,
                              QStringLiteral("no day with the key ") + key);
    eraseAt(*it);
}

void clsDayInfoCol::eraseAt(qsizetype index)
{
    const auto i = static_cast<size_t>(index);
    m_positions.remove(m_keys[i]);
    m_records.erase(m_records.begin() + index);
    m_keys.erase(m_keys.begin() + index);
    for (size_t k = i; k < m_keys.size(); ++k)
        m_positions[m_keys[k]] = static_cast<qsizetype>(k);
}

void clsDayInfoCol::Clear()
{
    m_records.clear();
    m_keys.clear();
    m_positions.clear();
}

QString clsDayInfoCol::FormatKey(const Moment &dtDate)
{
    return FormatKey(dtDate.date());
}

QString clsDayInfoCol::FormatKey(const QDate &date)
{
    static constexpr std::array<const char16_t *, 12> kMonths = {u"Jan", u"Feb", u"Mar", u"Apr",
                                                                 u"May", u"Jun", u"Jul", u"Aug",
                                                                 u"Sep", u"Oct", u"Nov", u"Dec"};
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1 %2 %3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf16(kMonths[static_cast<size_t>(date.month() - 1)]))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

} // namespace velmora
