#pragma once

#include "atlas/cityatlas.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace velmora {

class Navigation;
class frmPlace;

/// Finding a place by name: the menu "&Sky" with "Find &Place..." (Ctrl+L), the finder dialog
/// frmPlace, and the city it picks handed to the navigation, which then follows its time zone.
/// A name typed into the Latitude or Longitude box opens the finder too.
///
/// The atlas is opened when first needed, never at start-up. Where its package is missing the
/// menu item is disabled and its tool tip says what to install.
class PlaceFinder : public QObject
{
    Q_OBJECT

public:
    /// Adds the menu "&Sky" (mnuSky) with "Find &Place..." (mnuSkyFindPlace) to the bar,
    /// before `before` when one is given, else at its end.
    static QMenu *addMenu(QMenuBar *bar, QAction *before = nullptr);

    /// Serves the menu made by addMenu(). `window` parents the finder; `atlasLibrary` names the
    /// atlas's shared library (the system's when empty). Both must outlive this object.
    PlaceFinder(QWidget *window, QMenu *skyMenu, Navigation &navigation, QString atlasLibrary = {},
                QObject *parent = nullptr);
    ~PlaceFinder() override;
    Q_DISABLE_COPY_MOVE(PlaceFinder)

    /// Opens the finder on the last text searched, or the followed city's name.
    void mnuSkyFindPlace_Click();
    /// Opens the finder with this text searched (the finder does not block: the pick arrives
    /// when the user makes it). With the atlas missing, only says so.
    void open(const QString &text);

    /// The finder, once it has been opened.
    frmPlace *dialog() const;
    CityAtlas &atlas() { return m_atlas; }

Q_SIGNALS:
    /// What the status bar should say (the atlas is missing).
    void statusMessage(const QString &text);

private:
    bool checkAtlas();

    QWidget *m_window;
    QAction *m_mnuSkyFindPlace;
    Navigation &m_navigation;
    CityAtlas m_atlas;
    QPointer<frmPlace> m_dialog;
};

} // namespace velmora
