#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <utility>

class QIcon;
class QPlainTextEdit;

namespace velmora {

/// The object name of member `index` of a control array: "base(index)".
QString arrayName(const QString &base, int index);

/// Splits "base(index)" into base and index; nothing for a name that is not an array member.
std::optional<std::pair<QString, int>> splitArrayName(const QString &name);

namespace detail {
[[noreturn]] void throwMissingControl(const QString &name, const char *type, int found);
[[noreturn]] void throwMissingArray(const QString &base, const char *type);
[[noreturn]] void throwMissingMember(const QString &base, int index);
} // namespace detail

/// The one descendant of root with this exact object name and type. A missing, mistyped or
/// duplicated name throws std::logic_error naming it, so a wiring mistake shows at start-up.
template <class T> T *control(const QWidget *root, const QString &name)
{
    static_assert(std::is_base_of_v<QObject, T>);
    const QList<T *> found = root->findChildren<T *>(name, Qt::FindChildrenRecursively);
    if (found.size() != 1)
        detail::throwMissingControl(name, T::staticMetaObject.className(), found.size());
    return found.first();
}

/// The members "base(0)", "base(1)", ... of a control array below root, by index. Gaps and any
/// creation order are allowed; an array without members throws std::logic_error.
///
/// The on...() helpers connect one handler to every member and pass it the member's index.
/// Each connection lives as long as both the member and the given context object.
template <class T> class ControlArray
{
    static_assert(std::is_base_of_v<QObject, T>);

public:
    using Members = std::map<int, T *>;

    ControlArray(const QWidget *root, const QString &base)
        : m_base(base)
    {
        for (T *member : root->findChildren<T *>(Qt::FindChildrenRecursively)) {
            // Most controls are no member: "base(" is checked before the name is parsed.
            const QString &name = member->objectName();
            if (name.size() <= base.size() || name.at(base.size()) != u'(' ||
                !name.startsWith(base))
                continue;
            const auto parsed = splitArrayName(name);
            if (parsed && parsed->first == base && !m_members.contains(parsed->second))
                m_members.emplace(parsed->second, member);
            else if (parsed && parsed->first == base)
                detail::throwMissingControl(member->objectName(), T::staticMetaObject.className(),
                                            2);
        }
        if (m_members.empty())
            detail::throwMissingArray(base, T::staticMetaObject.className());
    }

    /// The member with this index; throws std::logic_error when there is none.
    T *operator[](int index) const
    {
        const auto it = m_members.find(index);
        if (it == m_members.end())
            detail::throwMissingMember(m_base, index);
        return it->second;
    }
    bool contains(int index) const { return m_members.contains(index); }
    int count() const { return static_cast<int>(m_members.size()); }
    const QString &baseName() const { return m_base; }

    /// Iterates (index, member) pairs in ascending index order.
    typename Members::const_iterator begin() const { return m_members.begin(); }
    typename Members::const_iterator end() const { return m_members.end(); }

    /// Connects signal of every member; handler receives the index followed by the signal's
    /// arguments.
    template <class Signal, class Handler>
    void on(Signal signal, const QObject *context, Handler handler) const
    {
        for (const auto &[index, member] : m_members) {
            QObject::connect(member, signal, context, [handler, index = index](auto &&...args) {
                handler(index, std::forward<decltype(args)>(args)...);
            });
        }
    }

    /// Click of a button member.
    void onClicked(const QObject *context, std::function<void(int)> handler) const
    {
        static_assert(std::is_base_of_v<QAbstractButton, T>);
        on(&QAbstractButton::clicked, context, [handler](int index, bool) { handler(index); });
    }
    /// A checkable member (option button, check box) changed state.
    void onToggled(const QObject *context, std::function<void(int, bool)> handler) const
    {
        static_assert(std::is_base_of_v<QAbstractButton, T>);
        on(&QAbstractButton::toggled, context, handler);
    }
    /// The text of a line-edit member changed, by the user or by the program.
    void onTextChanged(const QObject *context,
                       std::function<void(int, const QString &)> handler) const
    {
        static_assert(std::is_base_of_v<QLineEdit, T>);
        on(&QLineEdit::textChanged, context, handler);
    }
    /// The user chose an entry of a combo-box member.
    void onActivated(const QObject *context, std::function<void(int, int)> handler) const
    {
        static_assert(std::is_base_of_v<QComboBox, T>);
        on(&QComboBox::activated, context, handler);
    }

private:
    QString m_base;
    Members m_members;
};

/// Shows a picture instead of a caption on a button (the graphical buttons); the caption moves to
/// the accessible name so the button is still described.
void setButtonImage(QAbstractButton *button, const QIcon &icon);

/// Replaces the text of a multi-line box and puts its caret and view at the start, as
/// QPlainTextEdit::setPlainText() does. A hidden box only takes the text: its caret moves when it
/// is next shown, so boxes on pages out of sight are not laid out for every change.
void setMultiLineText(QPlainTextEdit *box, const QString &text);

/// Takes the keyboard focus (and so its focus mark) away from a widget.
void removeFocusMark(QWidget *widget);

/// Lets pending events of the window run from inside a handler.
void processPendingEvents();

} // namespace velmora
