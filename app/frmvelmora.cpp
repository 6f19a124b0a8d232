#include "app/frmvelmora.h"

#include "app/frmhelp.h"
#include "app/startup_texts.h"
#include "app/windowexport.h"
#include "app/windowplace.h"
#include "app/windowsky.h"
#include "app/windowview.h"
#include "art/view/artcontroller.h"
#include "books/bookbrowser.h"
#include "calendar/view/monthcalendar.h"
#include "core/numeric.h"
#include "core/preferences.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/midi/midioutputs.h"
#include "music/view/musicfiles.h"
#include "music/view/musicpage.h"
#include "resources/design/designdata.h"
#include "sky/core/astromodule.h"
#include "sky/view/astrofont.h"
#include "sky/view/navigation.h"
#include "sky/view/placefinder.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"
#include "toolkit/messagebox.h"
#include "toolkit/picturebox.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace velmora {

namespace {

const auto kAppTitle = QStringLiteral("Velmora");

frmVelmora::Environment defaultEnvironment()
{
    frmVelmora::Environment env;
    env.screenHeight = &frmVelmora::primaryScreenHeight;
    env.programFolder = QCoreApplication::applicationDirPath();
    env.configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    env.fillHiddenPagesAfterShow = true;
    return env;
}

} // namespace

frmVelmora::frmVelmora(QWidget *parent)
    : frmVelmora(defaultEnvironment(), parent)
{}

frmVelmora::frmVelmora(Environment environment, QWidget *parent)
    : QMainWindow(parent)
    , m_env(std::move(environment))
    // Parsing the text tables takes milliseconds that Form_Load needs only late, so it runs
    // beside the building of the window.
    , m_tablesLoading(std::async(std::launch::async, [] {
        ArtTables tables;
        loadTextTables(tables);
        return tables;
    }))
{
    if (!m_env.screenHeight)
        m_env.screenHeight = &frmVelmora::primaryScreenHeight;
    setObjectName(QStringLiteral("frmVelmora"));

    const QJsonObject design = FormBuilder::loadDesign(designDataPath());
    setWindowTitle(design.value(QStringLiteral("form"))
                       .toObject()
                       .value(QStringLiteral("caption"))
                       .toString());

    m_form = new QWidget(this);
    m_form->setObjectName(QStringLiteral("frmVelmoraClient"));
    m_form->setFixedSize(FormBuilder::clientSize(design));
    setCentralWidget(m_form);
    FormBuilder::build(design, m_form);
    m_tabs = control<QTabWidget>(m_form, QStringLiteral("SSTab1"));

    buildMenu();
    connectHelpMenu(this, m_env.programFolder);
    // One line below the pages for what the program has to say without interrupting: there
    // from the start, so the window does not grow when the first message comes.
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    // The window keeps the design's size: the pages are laid out in fixed positions.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

frmVelmora::~frmVelmora() = default;

int frmVelmora::primaryScreenHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() : 0;
}

void frmVelmora::buildMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    buildOutputMenu(file);
    m_export = std::make_unique<WindowExport>(this, m_form, file, m_env.programFolder);
    m_recordAction = file->addAction(QStringLiteral("&Record Music..."));
    m_recordAction->setObjectName(QStringLiteral("mnuFileRecord"));
    m_recordAction->setCheckable(true);
    m_renderAction = file->addAction(QStringLiteral("Render MIDI File to &Audio..."));
    m_renderAction->setObjectName(QStringLiteral("mnuFileRenderAudio"));
    file->addSeparator();
    QAction *exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuFileExit"));
    connect(exit, &QAction::triggered, this, &frmVelmora::mnuFileExit_Click);

    m_view = std::make_unique<WindowView>(m_form, menuBar());

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuFileHelp"));
    const std::pair<const char *, const char *> items[] = {
        {"mnuHelpHowTo", "&How to use Velmora"},
        {"mnuHelpPrimer", "&Primer on the Velmora"},
        {"mnuHelpMemorizable", "&Memorizable material"},
        {"mnuHelpAbout", "&About Velmora"},
    };
    for (const auto &[name, caption] : items) {
        QAction *a = help->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
    }
    // The sky's menu always stands just before Help, whatever menus come before it.
    m_skyMenu = PlaceFinder::addMenu(menuBar(), help->menuAction());
}

void frmVelmora::mnuFileExit_Click()
{
    close();
}

void frmVelmora::checkScreen()
{
    if (m_env.screenHeight() < kMinScreenHeight) {
        messageBox(this,
                   QStringLiteral("Sorry, this program is designed to work at resolutions of "
                                  "1024x768 or better"),
                   kAppTitle);
    }
}

void frmVelmora::fillCombos()
{
    const std::tuple<const char *, int, int> lists[] = {
        {"cmbJump", 12, 0}, {"cmbChange", 9, 2}, {"cmbOct", 6, 0}};
    for (const auto &[name, count, selected] : lists) {
        auto *combo = control<QComboBox>(m_form, QString::fromLatin1(name));
        combo->clear();
        for (int i = 1; i <= count; ++i)
            combo->addItem(QString::number(i));
        combo->setCurrentIndex(selected);
    }
}

void frmVelmora::Form_Load()
{
    // 1. The caption carries the version.
    setWindowTitle(windowTitle() + QStringLiteral(VELMORA_VERSION_SUFFIX));
    // 2. The layout needs a screen at least 768 pixels high; start-up goes on regardless.
    checkScreen();
    // 3. Open on the first page.
    m_tabs->setCurrentIndex(0);
    // 4. The ephemeris library is linked in; it finds its installed data files itself.
    m_astro = std::make_unique<AstroModule>();
    // 5. The cycle buttons keep their idle captions in their tags.
    for (const char *name : {"cmdCyclusHarmonicus", "cmdDays", "cmdZodiac"}) {
        auto *b = control<QPushButton>(m_form, QString::fromLatin1(name));
        b->setProperty("Tag", b->text());
    }
    // 6, 8, 13. The constant tables of the sky and the music are part of those subsystems.
    // 7. Both timers off.
    control<QTimer>(m_form, QStringLiteral("Timer1"))->stop();
    control<QTimer>(m_form, QStringLiteral("Timer2"))->stop();
    // 9. The symbol font is added with the sky page's first filling, which alone draws with it.
    // 10. The month calendar, drawn on picCal, with the chart and the navigation it serves.
    m_oCalendar = std::make_unique<clsCalendar>();
    m_oCalendar->setPictureBox(control<PictureBox>(m_form, QStringLiteral("picCal")));
    m_chart = std::make_unique<PlanetChart>(m_form, *m_astro, m_random);
    m_navigation =
        std::make_unique<Navigation>(m_form, *m_oCalendar, *m_astro, *m_chart, m_env.now);
    // 11. Combo-box lists and their first selections.
    fillCombos();
    // 12. The words of the Art.
    if (m_tablesLoading.valid())
        m_tables = m_tablesLoading.get();
    m_art = std::make_unique<ArtController>(m_form, m_tables, m_random);
    // 14. The instrument list; list position = General MIDI program number.
    auto *instruments = control<QComboBox>(m_form, QStringLiteral("cmbInstrument"));
    instruments->clear();
    instruments->addItems(loadInstrumentList());
    // 15. The default instrument.
    m_instrumentToSelect = 50;
    // 16. The random generator is seeded from the clock.
    m_random.seedFromClock();
    // 17. The starting combination.
    auto *code0 = control<QLineEdit>(m_form, QStringLiteral("txtCode(0)"));
    code0->setText(QStringLiteral("BCD"));
    // 18. The user's settings of the last run, and the preferences kept beside them.
    readSettings();
    m_prefs = std::make_unique<Preferences>(m_env.programFolder, m_env.configFolder);
    // The place finder (the atlas itself opens when first used) and the city last followed.
    m_placeFinder =
        std::make_unique<PlaceFinder>(this, m_skyMenu, *m_navigation, m_env.atlasLibrary);
    m_place = std::make_unique<WindowPlace>(*this, *m_navigation, *m_placeFinder, *m_prefs);
    adoptOutputTxt();
    m_view->attachPreferences(*m_prefs);
    // 19. The other two combination boxes copy the first.
    control<QLineEdit>(m_form, QStringLiteral("txtCode(1)"))->setText(code0->text());
    control<QLineEdit>(m_form, QStringLiteral("txtCode(2)"))->setText(code0->text());
    // 20. The starting combination is checked and shown as if Enter had been pressed; the pages
    // hidden at the start are written with the others, after the first paint.
    if (m_env.fillHiddenPagesAfterShow)
        m_art->holdHiddenPages();
    int key = 13;
    m_art->txtCode_KeyPress(0, key);
    // A saved text that is no combination (typed, never confirmed) would leave the Art pages
    // empty: start from the design's combination instead.
    if (!m_art->hasCombination()) {
        code0->setText(QStringLiteral("BCD"));
        key = 13;
        m_art->txtCode_KeyPress(0, key);
    }
    // 21. The MIDI output: the user's choice, else the built-in synthesiser.
    m_midi = std::make_unique<MidiModule>();
    const QString wanted = m_env.midiOutput.isEmpty() ? rememberedMidiOutput() : m_env.midiOutput;
    // The synthesiser loads once the window is first painted: reading it meanwhile would slow
    // the start on a machine of few cores. What it is sent before then sounds once it is ready.
    m_midiOutputName = openMidiOutput(*m_midi, wanted, true);
    m_sky = std::make_unique<WindowSky>(m_form, *m_navigation, *m_chart, *m_astro);
    m_player = std::make_unique<CyclePlayer>(*m_midi, *m_sky, m_random);
    // Silence is reported where it does not interrupt.
    m_player->setSilenceReport([this](const QString &reason) { statusBar()->showMessage(reason); });
    m_music = std::make_unique<MusicPage>(m_form, *m_player);
    m_musicFiles = std::make_unique<MusicFiles>(this, *m_midi, *m_prefs, statusBar(),
                                                m_recordAction, m_renderAction, m_env.configFolder);
    for (QAction *a : m_outputGroup->actions())
        a->setChecked(a->data().toString() == m_midiOutputName);
    // 22. The chosen instrument: bank select and program change.
    instruments->setCurrentIndex(m_instrumentToSelect);
    m_music->cmbInstrument_Click();
    // 23. Velocities and pitch from their boxes.
    m_music->applyStartupValues();
    // 24. Page keys of the four books.
    BookKeys[0] = QStringLiteral("ars-brevis");
    BookKeys[1] = QStringLiteral("liber-de-lumine");
    BookKeys[2] = QStringLiteral("velmora");
    BookKeys[3] = QStringLiteral("seven-planets");
    // 25. The chosen book's start page.
    m_books = std::make_unique<BookBrowser>(
        m_form, m_env.programFolder,
        QStringList{BookKeys[0], BookKeys[1], BookKeys[2], BookKeys[3]});
    // 26. The present moment, and the sky drawn for it. The start opens on the first page, so
    // the program's own start leaves the two hidden pages until the window has been painted;
    // a change of page before then fills them first.
    if (m_env.fillHiddenPagesAfterShow)
        connect(m_tabs, &QTabWidget::currentChanged, this, &frmVelmora::fillHiddenPages);
    else
        fillHiddenPages();
}

void frmVelmora::fillHiddenPages()
{
    if (m_hiddenPagesFilled || !m_books)
        return;
    m_hiddenPagesFilled = true;
    disconnect(m_tabs, &QTabWidget::currentChanged, this, &frmVelmora::fillHiddenPages);
    m_art->releaseHiddenPages();
    m_books->GetWebBook();
    // The symbol font, for as long as the program runs; a missing file is no error.
    m_astroFont = std::make_unique<AstroFont>();
    FontAdded = m_astroFont->Add(m_env.programFolder);
    m_navigation->cmdNow_Click();
}

const MusicState &frmVelmora::musicState() const
{
    return m_player->state();
}

SettingsLocation frmVelmora::settingsLocation() const
{
    return SettingsLocation(m_env.programFolder, m_env.configFolder);
}

void frmVelmora::readSettings()
{
    const auto values = readSettingsFile(settingsLocation().readPath());
    if (!values)
        return;
    const auto setText = [this](const char *name, const std::optional<QString> &text) {
        if (text)
            control<QLineEdit>(m_form, QString::fromLatin1(name))->setText(*text);
    };
    const auto setIndex = [this](const char *name, std::optional<int> index) {
        if (index)
            control<QComboBox>(m_form, QString::fromLatin1(name))->setCurrentIndex(*index);
    };
    setText("txtCode(0)", values->combination);
    setText("txtSpeed", values->speed);
    setIndex("cmbChange", values->changeIndex);
    setIndex("cmbOct", values->octaveIndex);
    if (values->jumpUnit)
        control<QRadioButton>(m_form, arrayName(QStringLiteral("optTJ"), *values->jumpUnit))
            ->setChecked(true);
    if (values->instrument)
        m_instrumentToSelect = *values->instrument;
    setText("txtVolume(0)", values->minVolume);
    setText("txtVolume(1)", values->maxVolume);
    setText("txtPitch", values->pitch);
    setText("txtLatLong(0)", values->latitude);
    setText("txtLatLong(1)", values->longitude);
    setText("txtLatLong(2)", values->timeZone);
    if (values->yearMode)
        control<QCheckBox>(m_form, QStringLiteral("chkCHMod"))->setChecked(*values->yearMode);
}

SettingsSnapshot frmVelmora::currentSettings() const
{
    const auto text = [this](const char *name) {
        return control<QLineEdit>(m_form, QString::fromLatin1(name))->text();
    };
    const auto index = [this](const char *name) {
        return control<QComboBox>(m_form, QString::fromLatin1(name))->currentIndex();
    };
    SettingsSnapshot s;
    s.combination = text("txtCode(0)");
    s.speed = text("txtSpeed");
    s.changeIndex = index("cmbChange");
    s.octaveIndex = index("cmbOct");
    // The lowest chosen time-jump button; none chosen reads as the first.
    const ControlArray<QRadioButton> units(m_form, QStringLiteral("optTJ"));
    for (const auto &[i, button] : units) {
        if (button->isChecked()) {
            s.jumpUnit = i;
            break;
        }
    }
    const int instrument = index("cmbInstrument");
    s.instrument = instrument >= 0 ? instrument : m_instrumentToSelect;
    s.minVolume = text("txtVolume(0)");
    s.maxVolume = text("txtVolume(1)");
    s.pitch = text("txtPitch");
    s.latitude = text("txtLatLong(0)");
    s.longitude = text("txtLatLong(1)");
    s.timeZone = text("txtLatLong(2)");
    s.yearMode = control<QCheckBox>(m_form, QStringLiteral("chkCHMod"))->isChecked();
    return s;
}

void frmVelmora::writeSettings()
{
    // A failed write leaves the previous file in place; shutdown goes on without a message.
    writeSettingsFile(settingsLocation().writePath(), formatSettings(currentSettings()));
}

void frmVelmora::Form_QueryUnload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (!m_midi)
        return writeSettings();
    // A recording under way is written before anything closes.
    m_musicFiles->finish();
    // 1. The MIDI output closes; a chord still sounding is not released first.
    m_midi->close();
    // 2. The symbol font is removed when start-up added it.
    if (FontAdded)
        m_astroFont->Remove();
    // 3. The settings file.
    writeSettings();
    // 4. The ephemeris library lets go of its files.
    if (m_env.releaseEphemeris)
        m_env.releaseEphemeris();
    else
        AstroModule::ReleaseLibrary();
}

QString frmVelmora::rememberedMidiOutput() const
{
    const QString name = m_prefs->midiOutput();
    return midiOutputNames().contains(name) ? name : QStringLiteral("synth");
}

void frmVelmora::adoptOutputTxt()
{
    // Earlier versions kept the sound output in a file of its own; its choice moves into the
    // preferences once, and from then on the preferences decide.
    if (!m_prefs->midiOutput().isEmpty())
        return;
    QFile f(QFileInfo(settingsLocation().readPath()).dir().filePath(QStringLiteral("Output.txt")));
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QString name = QString::fromLatin1(f.read(64)).trimmed();
    if (!midiOutputNames().contains(name))
        return;
    m_prefs->setMidiOutput(name);
    m_prefs->save();
}

void frmVelmora::chooseMidiOutput(const QString &name)
{
    if (!m_midi)
        return;
    // The module releases the old output and hands the new one the instrument and every
    // sounding key, so a playing cycle goes on where it was.
    m_midiOutputName = openMidiOutput(*m_midi, name);
    statusBar()->clearMessage();
    if (m_player->isPlayingAny())
        m_player->checkAudible();
    for (QAction *a : m_outputGroup->actions())
        a->setChecked(a->data().toString() == m_midiOutputName);
    m_prefs->setMidiOutput(m_midiOutputName);
    m_prefs->save();
}

void frmVelmora::buildOutputMenu(QMenu *file)
{
    QMenu *output = file->addMenu(QStringLiteral("&Sound output"));
    output->setObjectName(QStringLiteral("mnuFileOutput"));
    m_outputGroup = new QActionGroup(this);
    for (const QString &name : midiOutputNames()) {
        QAction *a = output->addAction(midiOutputLabel(name));
        a->setObjectName(QStringLiteral("mnuOutput_") + name);
        a->setCheckable(true);
        a->setData(name);
        m_outputGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, name] { chooseMidiOutput(name); });
    }
    file->addSeparator();
}

void frmVelmora::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (!m_painted && m_midi) {
        m_painted = true;
        // Queued: the children are painted after the window itself.
        QMetaObject::invokeMethod(
            this,
            [this] {
                releaseMidiOutputLoad(*m_midi);
                // The icon's SVG engine takes a few milliseconds to load, which the first
                // paint need not wait for; every window of the program takes it from here.
                QApplication::setWindowIcon(QIcon(QStringLiteral(":/design/velmora.svg")));
                fillHiddenPages();
            },
            Qt::QueuedConnection);
    }
}

void frmVelmora::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
}

} // namespace velmora
