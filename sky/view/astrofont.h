#pragma once

#include <QString>

namespace velmora {

/// The symbol font "Astro" from the file astrol.ttf in the program folder,
/// registered for the life of the program.
class AstroFont
{
public:
    static constexpr const char *kFileName = "astrol.ttf";
    static constexpr const char *kFamily = "Astro";

    AstroFont() = default;
    /// Removes the font if it is still registered.
    ~AstroFont();
    AstroFont(const AstroFont &) = delete;
    AstroFont &operator=(const AstroFont &) = delete;

    /// Registers programFolder/astrol.ttf. A missing or unreadable file is
    /// skipped silently; FontAdded() tells which happened.
    bool Add(const QString &programFolder);
    /// Unregisters the font when Add() registered it.
    void Remove();
    bool FontAdded() const { return m_id >= 0; }

private:
    int m_id = -1;
};

} // namespace velmora
