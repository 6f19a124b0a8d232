#include "atlas/cityatlas.h"

#include "atlas/cityindex.h"

#include <QLibrary>

#include <geonames.h>
#include <unordered_map>

namespace velmora {

namespace {

const auto kDefaultLibrary = QStringLiteral("geonames");
constexpr int kDefaultLibraryVersion = 0;

template <class Function> bool resolve(QLibrary &library, const char *symbol, Function &target)
{
    // A function pointer of any type passes through QFunctionPointer unchanged.
    target = reinterpret_cast<Function>(library.resolve(symbol));
    return target != nullptr;
}

} // namespace

// The library's functions, resolved at run time, and what the atlas built from them.
struct CityAtlas::Library
{
    QLibrary library;
    decltype(&geonames_get_n_cities) count = nullptr;
    decltype(&geonames_get_city) get = nullptr;
    decltype(&geonames_city_free) free = nullptr;
    decltype(&geonames_city_get_name) name = nullptr;
    decltype(&geonames_city_get_state) state = nullptr;
    decltype(&geonames_city_get_country) country = nullptr;
    decltype(&geonames_city_get_timezone) timezone = nullptr;
    decltype(&geonames_city_get_latitude) latitude = nullptr;
    decltype(&geonames_city_get_longitude) longitude = nullptr;
    decltype(&geonames_city_get_population) population = nullptr;

    bool resolveAll()
    {
        return resolve(library, "geonames_get_n_cities", count) &&
               resolve(library, "geonames_get_city", get) &&
               resolve(library, "geonames_city_free", free) &&
               resolve(library, "geonames_city_get_name", name) &&
               resolve(library, "geonames_city_get_state", state) &&
               resolve(library, "geonames_city_get_country", country) &&
               resolve(library, "geonames_city_get_timezone", timezone) &&
               resolve(library, "geonames_city_get_latitude", latitude) &&
               resolve(library, "geonames_city_get_longitude", longitude) &&
               resolve(library, "geonames_city_get_population", population);
    }

    // Only the names and populations are read for the index: the rest of a city is read when
    // it is shown, which keeps the first search quick.
    void buildIndex()
    {
        const int n = count();
        for (int i = 0; i < n; ++i) {
            GeonamesCity *c = get(i);
            if (!c) {
                index.add(QStringView(), 0);
                continue;
            }
            index.add(QString::fromUtf8(name(c)), population(c));
            free(c);
        }
        indexed = true;
    }

    const City &city(int id)
    {
        const auto known = cities.find(id);
        if (known != cities.end())
            return known->second;
        City &city = cities[id];
        if (GeonamesCity *c = get(id)) {
            city.name = QString::fromUtf8(name(c));
            city.region = QString::fromUtf8(state(c));
            city.country = QString::fromUtf8(country(c));
            city.zone = QByteArray(timezone(c));
            city.latitude = latitude(c);
            city.longitude = longitude(c);
            city.population = population(c);
            free(c);
        }
        return city;
    }

    CityIndex index;
    bool indexed = false;
    std::unordered_map<int, City> cities;
};

CityAtlas::CityAtlas(QString library)
    : m_libraryName(std::move(library))
{}

CityAtlas::~CityAtlas() = default;

QString CityAtlas::packageName()
{
    return QStringLiteral("libgeonames0");
}

bool CityAtlas::load()
{
    if (m_lib)
        return true;
    // Tried again on each use, so installing the package while the program runs is enough.
    auto lib = std::make_unique<Library>();
    if (m_libraryName.isEmpty())
        lib->library.setFileNameAndVersion(kDefaultLibrary, kDefaultLibraryVersion);
    else
        lib->library.setFileName(m_libraryName);
    if (!lib->library.load() || !lib->resolveAll())
        return false;
    m_lib = std::move(lib);
    return true;
}

int CityAtlas::cityCount()
{
    return load() ? m_lib->count() : 0;
}

CityAtlas::Matches CityAtlas::search(const QString &text, int limit)
{
    Matches matches;
    if (!isSearchable(text) || !load())
        return matches;
    if (!m_lib->indexed)
        m_lib->buildIndex();
    const CityIndex::Result found = m_lib->index.search(text, limit);
    matches.total = found.total;
    matches.cities.reserve(found.ids.size());
    for (const int id : found.ids)
        matches.cities.push_back(m_lib->city(id));
    return matches;
}

} // namespace velmora
