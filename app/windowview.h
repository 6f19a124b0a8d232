#pragma once

#include <QObject>

#include <map>

class QAction;
class QActionGroup;
class QMenuBar;
class QWidget;

namespace velmora {

class Preferences;

/// The "&View" menu: the zoom of the whole window in fixed steps. Zooming scales every control,
/// font and picture of the form and keeps their content and state; the step chosen is
/// remembered in the preferences.
class WindowView : public QObject
{
    Q_OBJECT

public:
    /// Adds the menu to the menu bar; form is the client area built from the design data.
    WindowView(QWidget *form, QMenuBar *menuBar, QObject *parent = nullptr);

    /// Applies the remembered zoom and remembers every later choice there.
    void attachPreferences(Preferences &preferences);

    int zoomPercent() const { return m_percent; }
    /// Zooms to a step of kZoomSteps; any other value is ignored.
    void setZoomPercent(int percent);

    void mnuViewZoomIn_Click();
    void mnuViewZoomOut_Click();
    void mnuViewActualSize_Click();

private:
    void applyZoom(int percent);

    QWidget *m_form;
    Preferences *m_prefs = nullptr;
    int m_percent = 100;
    QAction *m_zoomIn = nullptr;
    QAction *m_zoomOut = nullptr;
    std::map<int, QAction *> m_steps;
};

} // namespace velmora
