#pragma once

#include <QObject>

class QMainWindow;

namespace velmora {

class Navigation;
class PlaceFinder;
class Preferences;

/// The window's side of the place: the followed city restored from the preferences at
/// start-up, when the settings file still holds its coordinates, and remembered whenever it
/// changes; and what the sky says about the place shown in the status bar.
class WindowPlace : public QObject
{
    Q_OBJECT

public:
    /// All four must outlive this object.
    WindowPlace(QMainWindow &window, Navigation &navigation, PlaceFinder &finder,
                Preferences &preferences);

private:
    void remember();

    Navigation &m_navigation;
    Preferences &m_preferences;
};

} // namespace velmora
