#include "sky/core/astromodule.h"

#include "core/numeric.h"
#include "sky/core/swelibrary.h"

#include <cmath>
#include <cstring>

namespace velmora {

namespace {

constexpr int kGregorian = SE_GREG_CAL;
// The library's own data files plus speeds.
constexpr int kCalcFlags = SEFLG_SWIEPH | SEFLG_SPEED;
static_assert(kCalcFlags == 258);
constexpr int kPlacidus = 'P';
constexpr int kNameLength = 10;

QString formatDegrees(double d, int minDigits)
{
    const double a = std::fabs(d);
    const double whole = std::floor(a);
    const double f = a - whole;
    const int m = static_cast<int>(std::floor(f * 60));
    const int s = static_cast<int>(roundHalfEven(f * 3600 - m * 60.0));
    const bool negative = d < 0 && (whole > 0 || m > 0 || s > 0);
    return QStringLiteral("%1%2\u00B0%3'%4")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(static_cast<qint64>(whole), minDigits, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'));
}

// The library writes its messages as Latin-1 text ending in a NUL, sometimes on
// two lines; the table shows them on one.
QString libraryText(const char *buffer)
{
    QString s = QString::fromLatin1(buffer, qsizetype(std::strlen(buffer)));
    StripNull(s);
    return s.simplified();
}

} // namespace

QString FormatLatitude(double d)
{
    return formatDegrees(d, 1);
}

QString FormatLongitude(double d)
{
    return formatDegrees(d, 3);
}

QString StripNull(QString &s)
{
    const qsizetype k = s.indexOf(QChar(u'\0'));
    if (k >= 0)
        s.truncate(k);
    return s;
}

void AstroModule::CalcPlanets(const Moment &theDate)
{
    // Universal Time of the entered moment; the time zone keeps its fraction
    // (5.5 hours is half past), to the whole second.
    const Moment t = theDate.addSeconds(static_cast<qint64>(std::llround(m_timeZone * 3600.0)));
    const QDate date = t.date();
    const double hour = t.secondsOfDay() / 3600.0;
    const SweLibrary &swe = library();
    if (!swe.isLoaded()) {
        // No sky without the library: every line says why, and nothing reads as a position.
        m_julDay = m_julDayUT = 0;
        m_planetLong.fill(0);
        m_planetValid.fill(false);
        m_ascMC.fill(0);
        m_ascendant = 0;
        m_anglesValid = false;
        m_planetText.fill(swe.errorString());
        m_housesNote = QStringLiteral("houses not available");
        m_computed = true;
        return;
    }

    m_julDay = swe.swe_julday(date.year(), date.month(), date.day(), hour, kGregorian);
    m_julDayUT = m_julDay - swe.swe_deltat(m_julDay);

    QString line0;
    if (m_julDay != m_julDayUT)
        line0 = QStringLiteral("UT=") + QString::number(m_julDayUT, 'f', 5);

    // Library order: 0 Sun, 1 Moon, 2 Mercury, 3 Venus, 4 Mars, 5 Jupiter, 6 Saturn.
    std::array<double, 8> longitudes{};
    std::array<bool, 8> valid{};
    for (int p = 0; p < kPlanetCount; ++p) {
        double x[6] = {0, 0, 0, 0, 0, 0};
        char serr[AS_MAXCH] = {};
        const int rc = swe.swe_calc(m_julDay, p, kCalcFlags, x, serr);

        char nameBuffer[AS_MAXCH] = {};
        swe.swe_get_planet_name(p, nameBuffer);
        const QString name = libraryText(nameBuffer).left(kNameLength);

        // A failed call leaves zeros, which would read as 0° Aries: keep the
        // library's message instead of a position.
        valid[p] = rc >= 0 && std::isfinite(x[0]);
        if (valid[p]) {
            longitudes[p] = x[0];
            m_planetText[p + 1] = name + u'\t' + FormatLongitude(x[0]) + u'\t' +
                                  FormatLatitude(x[1]) + u'\t' + QString::number(x[2], 'f', 3);
        } else {
            QString message = libraryText(serr);
            if (message.isEmpty())
                message = QStringLiteral("position not available");
            longitudes[p] = 0;
            m_planetText[p + 1] = name + u'\t' + message;
        }
    }

    // Into the order of the spheres: Moon, Mercury, Venus, Sun, then Mars,
    // Jupiter, Saturn as they are.
    static constexpr std::array<int, kPlanetCount> kSphereToLibrary = {1, 2, 3, 0, 4, 5, 6};
    for (int i = 0; i < kPlanetCount; ++i) {
        m_planetLong[i] = longitudes[kSphereToLibrary[i]];
        m_planetValid[i] = valid[kSphereToLibrary[i]];
    }
    m_planetLong[7] = 0;
    m_planetValid[7] = false;

    double cusps[14] = {};
    m_ascMC.fill(0);
    const int houseRc = swe.swe_houses_ex(m_julDayUT, kCalcFlags, m_latitude, m_longitude,
                                          kPlacidus, cusps, m_ascMC.data());
    m_housesNote.clear();
    m_anglesValid =
        std::isfinite(cusps[1]) && std::isfinite(m_ascMC[0]) && std::isfinite(m_ascMC[1]);
    if (houseRc < 0) {
        // Placidus has no houses inside the polar circles; the library then divides the
        // quadrants evenly (Porphyry), and the Ascendant and MC stay exact.
        m_housesNote = m_anglesValid ? QStringLiteral("Porphyry houses (polar)")
                                     : QStringLiteral("houses not available");
    }
    m_ascendant = m_anglesValid ? static_cast<float>(cusps[1]) : 0.0f;

    if (m_anglesValid) {
        line0 += QStringLiteral("\tAsc=") + FormatLongitude(m_ascMC[0]) + QStringLiteral("\tMC=") +
                 FormatLongitude(m_ascMC[1]);
    }
    if (!m_housesNote.isEmpty())
        line0 += u'\t' + m_housesNote;
    m_planetText[0] = line0;
    m_computed = true;

    swe.swe_close();
}

double AstroModule::planetLong(int index) const
{
    return index >= 0 && index < 8 ? m_planetLong[index] : 0.0;
}

bool AstroModule::planetValid(int index) const
{
    return index >= 0 && index < kPlanetCount && m_planetValid[index];
}

QString AstroModule::planetText(int line) const
{
    return line >= 0 && line < 8 ? m_planetText[line] : QString();
}

double AstroModule::ascMC(int index) const
{
    return index >= 0 && index < 11 ? m_ascMC[index] : 0.0;
}

bool AstroModule::hasFailure() const
{
    if (!m_computed)
        return false;
    for (int i = 0; i < kPlanetCount; ++i) {
        if (!m_planetValid[i])
            return true;
    }
    return !m_anglesValid;
}

void AstroModule::ReleaseLibrary()
{
    if (const SweLibrary &swe = SweLibrary::instance(); swe.isLoaded())
        swe.swe_close();
}

const SweLibrary &AstroModule::library() const
{
    return m_library ? *m_library : SweLibrary::instance();
}

void AstroModule::ResetEphemerisPath()
{
    // A null path makes the library take SE_EPHE_PATH, else its built-in list.
    if (const SweLibrary &swe = SweLibrary::instance(); swe.isLoaded())
        swe.swe_set_ephe_path(nullptr);
}

} // namespace velmora
