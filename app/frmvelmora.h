#pragma once

#include "core/moment.h"
#include "core/random.h"
#include "core/settingsfile.h"
#include "core/texttables.h"

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include <array>
#include <functional>
#include <future>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class QTabWidget;
class QTimer;

namespace velmora {

class ArtController;
class AstroFont;
class AstroModule;
class BookBrowser;
class clsCalendar;
class CyclePlayer;
class MidiModule;
class MusicFiles;
class MusicPage;
class Navigation;
class PlaceFinder;
class PlanetChart;
class Preferences;
class WindowPlace;
class WindowExport;
class WindowSky;
class WindowView;
struct MusicState;

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
        /// The present local date and time (the wall clock when unset).
        std::function<QDateTime()> now;
        /// The MIDI output to open: "synth", "alsa" or "record"; when empty, the user's last
        /// choice, else the built-in synthesiser.
        QString midiOutput;
        /// Lets the ephemeris library go at shutdown (the real library when unset).
        std::function<void()> releaseEphemeris;
        /// The atlas's shared library; the system's libgeonames when empty.
        QString atlasLibrary = {};
        /// Fills the pages hidden at start (the sky, the books) just after the window's first
        /// paint rather than in Form_Load, so the window shows sooner.
        bool fillHiddenPagesAfterShow = false;
    };

    explicit frmVelmora(QWidget *parent = nullptr);
    explicit frmVelmora(Environment environment, QWidget *parent = nullptr);
    ~frmVelmora() override;
    Q_DISABLE_COPY_MOVE(frmVelmora)

    /// The start-up sequence; runs once, before the window is first shown.
    void Form_Load();
    /// True once the sky and the books show their start-up content.
    bool hiddenPagesFilled() const { return m_hiddenPagesFilled; }
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

    /// Page keys of the four books, filled at start-up.
    std::array<QString, 10> BookKeys;
    /// True when the symbol font was registered at start-up.
    bool FontAdded = false;

    // The subsystems, present once Form_Load has created them.
    ArtController *art() const { return m_art.get(); }
    Navigation *navigation() const { return m_navigation.get(); }
    PlanetChart *chart() const { return m_chart.get(); }
    clsCalendar *calendar() const { return m_oCalendar.get(); }
    AstroModule &astro() const { return *m_astro; }
    MidiModule &midi() const { return *m_midi; }
    MusicPage *music() const { return m_music.get(); }
    /// Recording the music and rendering MIDI files to audio (the File menu).
    MusicFiles *musicFiles() const { return m_musicFiles.get(); }
    CyclePlayer *player() const { return m_player.get(); }
    BookBrowser *books() const { return m_books.get(); }
    PlaceFinder *placeFinder() const { return m_placeFinder.get(); }
    /// Velocities, pitch and the rest of the music's state.
    const MusicState &musicState() const;
    /// Name of the MIDI output in use ("synth", "alsa" or "record").
    const QString &midiOutputName() const { return m_midiOutputName; }
    /// What the program remembers beyond the settings file; present once Form_Load has run.
    Preferences &preferences() const { return *m_prefs; }
    /// The View menu (zoom) and the File menu's export and print commands.
    WindowView *view() const { return m_view.get(); }
    WindowExport *exporter() const { return m_export.get(); }
    /// Opens another MIDI output and remembers the choice.
    void chooseMidiOutput(const QString &name);

    /// The instrument chosen at start-up (the design default, unless the settings give another).
    int instrumentToSelect() const { return m_instrumentToSelect; }

    /// Default screen height: the primary screen's, in pixels.
    static int primaryScreenHeight();
    /// Minimum screen height in pixels that the layout needs.
    static constexpr int kMinScreenHeight = 768;

protected:
    void closeEvent(QCloseEvent *event) override;
    /// The first paint lets the synthesiser begin loading.
    void paintEvent(QPaintEvent *event) override;

private:
    void buildMenu();
    void readSettings();
    void writeSettings();
    void checkScreen();
    void fillCombos();
    void buildOutputMenu(QMenu *file);
    QString rememberedMidiOutput() const;
    void adoptOutputTxt();
    void mnuFileExit_Click();
    void fillHiddenPages();

    Environment m_env;
    QWidget *m_form = nullptr;
    QTabWidget *m_tabs = nullptr;
    RandomSource m_random;
    ArtTables m_tables;
    /// The words of the Art, read on a worker thread while the window is built.
    std::future<ArtTables> m_tablesLoading;
    int m_instrumentToSelect = 50;
    bool m_unloaded = false;
    QString m_midiOutputName;
    QActionGroup *m_outputGroup = nullptr;
    QAction *m_recordAction = nullptr;
    QAction *m_renderAction = nullptr;
    QMenu *m_skyMenu = nullptr;

    std::unique_ptr<WindowExport> m_export;
    std::unique_ptr<WindowView> m_view;
    std::unique_ptr<Preferences> m_prefs;
    std::unique_ptr<AstroModule> m_astro;
    std::unique_ptr<AstroFont> m_astroFont;
    std::unique_ptr<clsCalendar> m_oCalendar;
    std::unique_ptr<PlanetChart> m_chart;
    std::unique_ptr<Navigation> m_navigation;
    std::unique_ptr<PlaceFinder> m_placeFinder;
    std::unique_ptr<WindowPlace> m_place;
    std::unique_ptr<ArtController> m_art;
    std::unique_ptr<MidiModule> m_midi;
    std::unique_ptr<WindowSky> m_sky;
    std::unique_ptr<CyclePlayer> m_player;
    std::unique_ptr<MusicPage> m_music;
    std::unique_ptr<MusicFiles> m_musicFiles;
    std::unique_ptr<BookBrowser> m_books;
    // Set by the first paint after Form_Load, which lets the synthesiser load.
    bool m_painted = false;
    bool m_hiddenPagesFilled = false;
};

} // namespace velmora
