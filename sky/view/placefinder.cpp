#include "sky/view/placefinder.h"

#include "sky/view/frmplace.h"
#include "sky/view/navigation.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <stdexcept>

namespace velmora {

PlaceFinder::PlaceFinder(QWidget *window, QMenu *skyMenu, Navigation &navigation,
                         QString atlasLibrary, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_mnuSkyFindPlace(skyMenu->findChild<QAction *>(QStringLiteral("mnuSkyFindPlace")))
    , m_navigation(navigation)
    , m_atlas(std::move(atlasLibrary))
{
    if (!m_mnuSkyFindPlace)
        throw std::logic_error("PlaceFinder: the Sky menu has no mnuSkyFindPlace");
    connect(m_mnuSkyFindPlace, &QAction::triggered, this, &PlaceFinder::mnuSkyFindPlace_Click);
    // Checked each time the menu opens, so installing the package while the program runs is
    // enough to enable the item.
    connect(skyMenu, &QMenu::aboutToShow, this, &PlaceFinder::checkAtlas);
    connect(&m_navigation, &Navigation::placeNameEntered, this, &PlaceFinder::open);
}

PlaceFinder::~PlaceFinder()
{
    // The finder refers to the atlas this object owns.
    delete m_dialog;
}

frmPlace *PlaceFinder::dialog() const
{
    return m_dialog;
}

QMenu *PlaceFinder::addMenu(QMenuBar *bar, QAction *before)
{
    auto *sky = new QMenu(QStringLiteral("&Sky"), bar);
    sky->setObjectName(QStringLiteral("mnuSky"));
    sky->setToolTipsVisible(true);
    QAction *find = sky->addAction(QStringLiteral("Find &Place..."));
    find->setObjectName(QStringLiteral("mnuSkyFindPlace"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    find->setToolTip(QStringLiteral("Find a city by its name and follow its time zone"));
    if (before)
        bar->insertMenu(before, sky);
    else
        bar->addMenu(sky);
    return sky;
}

bool PlaceFinder::checkAtlas()
{
    const bool present = m_atlas.load();
    m_mnuSkyFindPlace->setEnabled(present);
    m_mnuSkyFindPlace->setToolTip(
        present ? QStringLiteral("Find a city by its name and follow its time zone")
                : QStringLiteral("The atlas of cities is not installed: install the package %1")
                      .arg(CityAtlas::packageName()));
    return present;
}

void PlaceFinder::mnuSkyFindPlace_Click()
{
    QString text;
    if (m_dialog)
        text = m_dialog->searchText();
    else if (m_navigation.city())
        text = m_navigation.city()->name;
    open(text);
}

void PlaceFinder::open(const QString &text)
{
    if (!checkAtlas()) {
        Q_EMIT statusMessage(m_mnuSkyFindPlace->toolTip());
        return;
    }
    if (!m_dialog) {
        m_dialog = new frmPlace(
            m_atlas, [this] { return m_navigation.TheDate(); }, m_window);
        connect(m_dialog, &frmPlace::picked, this, [this](const City &city) {
            m_navigation.pickCity(
                {city.name, city.region, city.country, city.zone, city.latitude, city.longitude});
        });
    }
    m_dialog->setSearchText(text);
    // Modal to the window, but without a nested event loop: the pick arrives as a signal.
    m_dialog->open();
}

} // namespace velmora
