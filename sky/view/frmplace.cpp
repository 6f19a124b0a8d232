#include "sky/view/frmplace.h"

#include "atlas/cityindex.h"
#include "sky/core/zonetime.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

enum Column
{
    kCity,
    kRegion,
    kCountry,
    kPopulation,
    kZone,
    kOffset,
    kColumnCount
};

QString countText(const QString &typed, int shown, int total)
{
    if (typed.trimmed().isEmpty())
        return QStringLiteral("Type the name of a city, with or without its accents.");
    if (total == 0)
        return QStringLiteral("No city of the atlas is called that.");
    if (total == 1)
        return QStringLiteral("One city.");
    if (shown < total)
        return QStringLiteral("%1 cities, the first %2 listed: type more of the name to find "
                              "the others.")
            .arg(total)
            .arg(shown);
    return QStringLiteral("%1 cities.").arg(total);
}

} // namespace

frmPlace::frmPlace(CityAtlas &atlas, MomentSource moment, QWidget *parent)
    : QDialog(parent)
    , m_atlas(atlas)
    , m_moment(std::move(moment))
    , m_txtPlaceSearch(new QLineEdit(this))
    , m_lstPlaces(new QTreeWidget(this))
    , m_lblPlaceCount(new QLabel(this))
{
    setObjectName(QStringLiteral("frmPlace"));
    setWindowTitle(QStringLiteral("Find Place"));

    m_txtPlaceSearch->setObjectName(QStringLiteral("txtPlaceSearch"));
    m_txtPlaceSearch->setPlaceholderText(QStringLiteral("City"));
    m_txtPlaceSearch->setClearButtonEnabled(true);
    m_txtPlaceSearch->installEventFilter(this);

    m_lstPlaces->setObjectName(QStringLiteral("lstPlaces"));
    m_lstPlaces->setColumnCount(kColumnCount);
    m_lstPlaces->setHeaderLabels({QStringLiteral("City"), QStringLiteral("Region"),
                                  QStringLiteral("Country"), QStringLiteral("Population"),
                                  QStringLiteral("Time zone"), QStringLiteral("UTC offset")});
    m_lstPlaces->headerItem()->setToolTip(kOffset, QStringLiteral("At the page's moment"));
    m_lstPlaces->setRootIsDecorated(false);
    m_lstPlaces->setUniformRowHeights(true);
    m_lstPlaces->setAllColumnsShowFocus(true);
    m_lstPlaces->setSelectionMode(QAbstractItemView::SingleSelection);
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    const int widths[kColumnCount] = {13 * em, 11 * em, 12 * em, 7 * em, 12 * em, 10 * em};
    for (int c = 0; c < kColumnCount; ++c)
        m_lstPlaces->setColumnWidth(c, widths[c]);
    m_lstPlaces->headerItem()->setTextAlignment(kPopulation, Qt::AlignRight | Qt::AlignVCenter);

    m_lblPlaceCount->setObjectName(QStringLiteral("lblPlaceCount"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_cmdPlaceOK = buttons->button(QDialogButtonBox::Ok);
    m_cmdPlaceOK->setObjectName(QStringLiteral("cmdPlaceOK"));
    m_cmdPlaceOK->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdPlaceCancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_txtPlaceSearch);
    layout->addWidget(m_lstPlaces, 1);
    layout->addWidget(m_lblPlaceCount);
    layout->addWidget(buttons);
    int width = 0;
    for (const int w : widths)
        width += w;
    // Room for the frame and the scroll bar beside the columns.
    resize(width + 8 * em, 30 * fontMetrics().height());

    connect(m_txtPlaceSearch, &QLineEdit::textChanged, this, &frmPlace::txtPlaceSearch_Change);
    connect(m_cmdPlaceOK, &QPushButton::clicked, this, &frmPlace::cmdPlaceOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_lstPlaces, &QTreeWidget::itemDoubleClicked, this, &frmPlace::cmdPlaceOK_Click);
    connect(m_lstPlaces, &QTreeWidget::currentItemChanged, this,
            [this] { m_cmdPlaceOK->setEnabled(m_lstPlaces->currentItem() != nullptr); });
    txtPlaceSearch_Change();
}

void frmPlace::setSearchText(const QString &text)
{
    if (m_txtPlaceSearch->text() == text)
        txtPlaceSearch_Change();
    else
        m_txtPlaceSearch->setText(text);
    m_txtPlaceSearch->selectAll();
    m_txtPlaceSearch->setFocus();
}

void frmPlace::txtPlaceSearch_Change()
{
    const QString typed = m_txtPlaceSearch->text();
    CityAtlas::Matches found = m_atlas.search(typed, kMaxRows);
    m_cities = std::move(found.cities);

    const Moment moment = m_moment ? m_moment() : Moment();
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    // Cities of one zone share its offset, unless it is their own local mean time.
    QHash<QByteArray, std::optional<ZoneOffset>> offsets;
    QList<QTreeWidgetItem *> rows;
    rows.reserve(qsizetype(m_cities.size()));
    for (const City &city : m_cities) {
        auto known = offsets.find(city.zone);
        if (known == offsets.end())
            known = offsets.insert(city.zone, zoneOffsetAt(city.zone, moment, city.longitude));
        std::optional<ZoneOffset> offset = *known;
        if (offset && offset->localMeanTime)
            offset = zoneOffsetAt(city.zone, moment, city.longitude);

        auto *row = new QTreeWidgetItem;
        row->setText(kCity, city.name);
        row->setText(kRegion, city.region);
        row->setText(kCountry, city.country);
        if (city.population > 0)
            row->setText(kPopulation, locale.toString(city.population));
        row->setTextAlignment(kPopulation, Qt::AlignRight | Qt::AlignVCenter);
        row->setText(kZone, QString::fromUtf8(city.zone));
        row->setText(kOffset, offset ? zoneOffsetText(*offset) : QStringLiteral("unknown"));
        rows.append(row);
    }
    m_lstPlaces->clear();
    m_lstPlaces->addTopLevelItems(rows);
    if (!rows.isEmpty())
        m_lstPlaces->setCurrentItem(rows.front());
    m_cmdPlaceOK->setEnabled(!rows.isEmpty());
    m_lblPlaceCount->setText(isSearchable(typed) || typed.trimmed().isEmpty()
                                 ? countText(typed, int(m_cities.size()), found.total)
                                 : QStringLiteral("That is not a name a city could have."));
}

QString frmPlace::searchText() const
{
    return m_txtPlaceSearch->text();
}

std::optional<City> frmPlace::selectedCity() const
{
    const int row = m_lstPlaces->indexOfTopLevelItem(m_lstPlaces->currentItem());
    if (row < 0 || size_t(row) >= m_cities.size())
        return std::nullopt;
    return m_cities[size_t(row)];
}

void frmPlace::cmdPlaceOK_Click()
{
    const auto city = selectedCity();
    if (!city)
        return;
    accept();
    Q_EMIT picked(*city);
}

bool frmPlace::eventFilter(QObject *watched, QEvent *event)
{
    // The arrows and page keys in the search box move through the list.
    if (watched == m_txtPlaceSearch && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(m_lstPlaces, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace velmora
