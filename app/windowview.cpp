#include "app/windowview.h"

#include "core/preferences.h"
#include "toolkit/formbuilder.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

namespace velmora {

WindowView::WindowView(QWidget *form, QMenuBar *menuBar, QObject *parent)
    : QObject(parent)
    , m_form(form)
{
    QMenu *view = menuBar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));

    m_zoomIn = view->addAction(QStringLiteral("Zoom &In"));
    m_zoomIn->setObjectName(QStringLiteral("mnuViewZoomIn"));
    // Ctrl+= as well: on many keyboards "+" is a shifted "=".
    m_zoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(m_zoomIn, &QAction::triggered, this, &WindowView::mnuViewZoomIn_Click);

    m_zoomOut = view->addAction(QStringLiteral("Zoom &Out"));
    m_zoomOut->setObjectName(QStringLiteral("mnuViewZoomOut"));
    m_zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(m_zoomOut, &QAction::triggered, this, &WindowView::mnuViewZoomOut_Click);

    QAction *actual = view->addAction(QStringLiteral("&Actual Size"));
    actual->setObjectName(QStringLiteral("mnuViewActualSize"));
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(actual, &QAction::triggered, this, &WindowView::mnuViewActualSize_Click);

    view->addSeparator();
    auto *group = new QActionGroup(this);
    for (const int percent : kZoomSteps) {
        QAction *step = view->addAction(QStringLiteral("%1%").arg(percent));
        step->setObjectName(QStringLiteral("mnuViewZoom%1").arg(percent));
        step->setCheckable(true);
        group->addAction(step);
        connect(step, &QAction::triggered, this, [this, percent] { setZoomPercent(percent); });
        m_steps.emplace(percent, step);
    }
    applyZoom(m_percent);
}

void WindowView::attachPreferences(Preferences &preferences)
{
    m_prefs = &preferences;
    applyZoom(preferences.zoomPercent());
}

void WindowView::setZoomPercent(int percent)
{
    if (!m_steps.contains(percent))
        return;
    applyZoom(percent);
    if (m_prefs && m_prefs->zoomPercent() != percent) {
        m_prefs->setZoomPercent(percent);
        // Nothing to tell the user when the file cannot be written: the zoom still applies.
        m_prefs->save();
    }
}

void WindowView::applyZoom(int percent)
{
    m_percent = percent;
    FormBuilder::setZoom(m_form, percent / 100.0);
    m_steps.at(percent)->setChecked(true);
    m_zoomIn->setEnabled(percent < kZoomSteps.back());
    m_zoomOut->setEnabled(percent > kZoomSteps.front());
}

void WindowView::mnuViewZoomIn_Click()
{
    const auto next = std::ranges::upper_bound(kZoomSteps, m_percent);
    if (next != kZoomSteps.end())
        setZoomPercent(*next);
}

void WindowView::mnuViewZoomOut_Click()
{
    const auto below = std::ranges::lower_bound(kZoomSteps, m_percent);
    if (below != kZoomSteps.begin())
        setZoomPercent(*(below - 1));
}

void WindowView::mnuViewActualSize_Click()
{
    setZoomPercent(kZoomSteps.front());
}

} // namespace velmora
