#include "app/windowplace.h"

#include "core/preferences.h"
#include "sky/view/navigation.h"
#include "sky/view/placefinder.h"

#include <QMainWindow>
#include <QStatusBar>

namespace velmora {

WindowPlace::WindowPlace(QMainWindow &window, Navigation &navigation, PlaceFinder &finder,
                         Preferences &preferences)
    : m_navigation(navigation)
    , m_preferences(preferences)
{
    if (const auto kept = m_preferences.keptPlace()) {
        m_navigation.keepCity({kept->name, kept->region, kept->country, kept->zone.toUtf8(),
                               kept->latitude, kept->longitude});
    }
    QStatusBar *status = window.statusBar();
    const auto show = [status](const QString &text) {
        status->showMessage(text);
    };
    connect(&m_navigation, &Navigation::placeReport, status, show);
    connect(&finder, &PlaceFinder::statusMessage, status, show);
    connect(&m_navigation, &Navigation::cityChanged, this, &WindowPlace::remember);
}

void WindowPlace::remember()
{
    if (const auto &city = m_navigation.city()) {
        m_preferences.setKeptPlace({city->name, city->region, city->country,
                                    QString::fromUtf8(city->zone), city->latitude,
                                    city->longitude});
    } else {
        m_preferences.clearKeptPlace();
    }
    // A file that cannot be written only costs the city at the next start.
    m_preferences.save();
}

} // namespace velmora
