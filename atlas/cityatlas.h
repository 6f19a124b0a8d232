#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace velmora {

/// One city of the atlas.
struct City
{
    QString name;
    QString region;
    QString country;
    /// The tz database's name of its time zone ("Europe/Madrid").
    QByteArray zone;
    /// Degrees, north and east positive.
    double latitude = 0;
    double longitude = 0;
    quint32 population = 0;
};

/// The offline atlas: the cities of the system's GeoNames library (libgeonames), with their
/// time zones, searched by name with or without accents.
///
/// Nothing is loaded until first used, so the program starts without it; the library is
/// opened at run time, and where it is not installed the atlas says so instead of the program
/// failing to start. Names come in the language of the user's locale, as the library gives
/// them.
class CityAtlas
{
public:
    /// `library` is the shared library to open: the system's libgeonames when empty. Tests
    /// name one that does not exist.
    explicit CityAtlas(QString library = {});
    ~CityAtlas();
    CityAtlas(const CityAtlas &) = delete;
    CityAtlas &operator=(const CityAtlas &) = delete;

    /// Opens the library once; false when it is not installed or lacks the functions used.
    bool load();
    /// The Debian package that holds the library.
    static QString packageName();

    /// The number of cities; 0 when the library cannot be opened.
    int cityCount();

    struct Matches
    {
        /// The best matches, best first.
        std::vector<City> cities;
        /// How many cities matched in all.
        int total = 0;
    };
    /// Cities whose names match a typed text, best first and at most `limit` of them (see
    /// CityIndex for the order). The first search builds the index of names.
    Matches search(const QString &text, int limit);

private:
    struct Library;
    std::unique_ptr<Library> m_lib;
    QString m_libraryName;
};

} // namespace velmora
