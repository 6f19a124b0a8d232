#pragma once

#include "atlas/cityatlas.h"
#include "core/moment.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace velmora {

/// The finder of places: a search box (txtPlaceSearch) and the matching cities (lstPlaces),
/// best first, listed again as the user types. Each row gives the city, its region, country,
/// population, time zone and that zone's offset at the page's moment. Enter, OK or a double
/// click picks the selected city; Escape closes the finder with nothing changed.
class frmPlace : public QDialog
{
    Q_OBJECT

public:
    /// The moment whose offsets the rows show: the page's, read at each search.
    using MomentSource = std::function<Moment()>;
    /// Rows listed at most; a longer name narrows the rest.
    static constexpr int kMaxRows = 200;

    frmPlace(CityAtlas &atlas, MomentSource moment, QWidget *parent = nullptr);

    /// Puts a text into the search box, lists its matches and selects the best.
    void setSearchText(const QString &text);
    QString searchText() const;
    /// The city of the selected row; nothing when no row is selected.
    std::optional<City> selectedCity() const;

    void txtPlaceSearch_Change();
    void cmdPlaceOK_Click();

Q_SIGNALS:
    void picked(const velmora::City &city);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CityAtlas &m_atlas;
    MomentSource m_moment;
    QLineEdit *m_txtPlaceSearch;
    QTreeWidget *m_lstPlaces;
    QLabel *m_lblPlaceCount;
    QPushButton *m_cmdPlaceOK;
    std::vector<City> m_cities;
};

} // namespace velmora
