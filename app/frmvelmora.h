#pragma once

#include "core/moment.h"
#include "core/random.h"
#include "core/settingsfile.h"
#include "core/texttables.h"

#include <QMainWindow>
#include <QStringList>
#include <QTime>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QTabWidget;
class QTimer;

namespace velmora {

/// The program's one window and the composition root: it builds the controls from the design
/// data, runs the start-up sequence and hands each page to the subsystem that drives it.
class frmVelmora : public QMainWindow
{
    Q_OBJECT

public:
    /// Injectable pieces of the platform, so tests need no real screen or clock.
    struct Environment
    {
        /// Height of the screen in pixels.
        std::function<int()> screenHeight;
        /// The program folder (where the executable and its runtime files lie).
        QString programFolder;
        /// The user's configuration folder: the settings live there when the program folder
        /// cannot be written.
        QString configFolder;
    };

    explicit frmVelmora(QWidget *parent = nullptr);
    explicit frmVelmora(Environment environment, QWidget *parent = nullptr);
    ~frmVelmora() override;
    Q_DISABLE_COPY_MOVE(frmVelmora)

    /// The start-up sequence; runs once, before the window is first shown.
    void Form_Load();
    /// The shutdown sequence; runs once, when the window closes for any reason.
    void Form_QueryUnload();

    /// Where the settings file is read from and written to.
    SettingsLocation settingsLocation() const;
    /// The values the settings file would store now.
    SettingsSnapshot currentSettings() const;

    QTabWidget *SSTab1() const { return m_tabs; }
    QWidget *form() const { return m_form; }
    const QString &programFolder() const { return m_env.programFolder; }
    RandomSource &random() { return m_random; }

    /// The words of the Art, filled once at start-up.
    const ArtTables &tables() const { return m_tables; }

    // Constant tables filled at start-up.
    std::array<QString, 10> BookKeys;
    std::array<QString, 12> ZodiacSigns;
    std::array<QString, 25> HourChords;
    std::array<QDate, 8> SeasonDates;
    std::array<QTime, 8> SeasonTimes;
    std::array<qint16, 8> PlanetSemitones{};
    std::array<qint16, 7> HarmonicSemitones{};
    std::array<qint16, 7> MajorScale{};
    std::array<QString, 3> DecanLabels;

    // Music values read from the boxes at start-up.
    qint16 MidiChannel = 0;
    qint16 MinVolume = 0;
    qint16 MaxVolume = 0;
    qint16 MidVolume = 0;
    qint16 PitchOffset = 0;
    bool FontAdded = false;

    /// The instrument chosen at start-up (the design default, unless the settings give another).
    int instrumentToSelect() const { return m_instrumentToSelect; }

    /// Default screen height: the primary screen's, in pixels.
    static int primaryScreenHeight();
    /// Minimum screen height in pixels that the layout needs.
    static constexpr int kMinScreenHeight = 768;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void readSettings();
    void writeSettings();
    void checkScreen();
    void fillConstantTables();
    void fillCombos();
    void readMusicValues();
    void mnuFileExit_Click();

    Environment m_env;
    QWidget *m_form = nullptr;
    QTabWidget *m_tabs = nullptr;
    RandomSource m_random;
    ArtTables m_tables;
    int m_instrumentToSelect = 50;
    bool m_unloaded = false;
};

} // namespace velmora
