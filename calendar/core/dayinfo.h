#pragma once

#include "core/moment.h"

#include <QHash>
#include <QString>

#include <memory>
#include <stdexcept>
#include <vector>

namespace velmora {

/// How one day's cell is painted: its date, whether it is selected, its colours and weight.
/// Records are shared: a record obtained from a collection is the one the collection holds.
class clsDayInfo
{
public:
    static constexpr qint32 kWhite = 0xFFFFFF;
    static constexpr qint32 kBlack = 0x000000;
    /// The selection blue (0, 0, 255) as a design colour value.
    static constexpr qint32 kSelectionBlue = 0xFF0000;

    Moment DateTime() const { return m_dateTime; }
    void setDateTime(const Moment &bNewValue) { m_dateTime = bNewValue; }

    bool Selected() const { return m_selected; }
    /// Also recolours the record: blue fill and frame with white text when selected, white fill
    /// and frame with black text when not.
    void setSelected(bool bNewValue);

    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 lNewValue) { m_backColor = lNewValue; }
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 lNewValue) { m_foreColor = lNewValue; }
    qint32 RectColor() const { return m_rectColor; }
    void setRectColor(qint32 lNewValue) { m_rectColor = lNewValue; }
    bool Bold() const { return m_bold; }
    void setBold(bool bNewValue) { m_bold = bNewValue; }

private:
    Moment m_dateTime;
    bool m_selected = false;
    qint32 m_backColor = 0;
    qint32 m_foreColor = 0;
    qint32 m_rectColor = 0;
    bool m_bold = false;
};

/// Raised by clsDayInfoCol for a key that is already present (Add) or a key or position that is
/// not (Item, Remove). The collection is left unchanged.
class DayInfoColError : public std::runtime_error
{
public:
    enum class Kind
    {
        DuplicateKey,
        NotFound
    };
    DayInfoColError(Kind kind, const QString &what);
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

/// Day records in insertion order, keyed by FormatKey of their date, with 1-based positions.
/// Lookups of absent keys or positions and duplicate keys throw DayInfoColError.
class clsDayInfoCol
{
public:
    using Record = std::shared_ptr<clsDayInfo>;
    using const_iterator = std::vector<Record>::const_iterator;

    /// Appends a record for the day of dtDateTime. Explicit colours replace those that
    /// bSelected implies, except that a selected record always gets a blue fill and white text.
    Record Add(const Moment &dtDateTime, bool bSelected = false, qint32 lBackColor = 0,
               qint32 lForeColor = 0, qint32 lRectColor = 0, bool bBold = false);

    /// The record at a 1-based position.
    Record Item(qsizetype position) const;
    /// The record with this key.
    Record Item(const QString &key) const;

    qsizetype Count() const { return static_cast<qsizetype>(m_records.size()); }

    void Remove(qsizetype position);
    void Remove(const QString &key);

    /// True when Item would succeed; never throws.
    bool Exists(const QString &vKey) const { return m_positions.contains(vKey); }
    bool Exists(qsizetype position) const { return position >= 1 && position <= Count(); }

    void Clear();

    /// The key of a day: "DD Mmm YYYY" with English month abbreviations whatever the locale
    /// (01 Jan 2027). The time of day does not enter it.
    static QString FormatKey(const Moment &dtDate);
    static QString FormatKey(const QDate &date);

    const_iterator begin() const { return m_records.begin(); }
    const_iterator end() const { return m_records.end(); }

private:
    void eraseAt(qsizetype index);

    std::vector<Record> m_records;
    std::vector<QString> m_keys;
    // key -> 0-based index in m_records; rebuilt past a removal
    QHash<QString, qsizetype> m_positions;
};

} // namespace velmora
