#include "app/frmvelmora.h"

#include "app/frmhelp.h"
#include "app/startup_texts.h"
#include "core/numeric.h"
#include "resources/design/designdata.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"
#include "toolkit/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
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
    return env;
}

} // namespace

frmVelmora::frmVelmora(QWidget *parent)
    : frmVelmora(defaultEnvironment(), parent)
{}

frmVelmora::frmVelmora(Environment environment, QWidget *parent)
    : QMainWindow(parent)
    , m_env(std::move(environment))
{
    if (!m_env.screenHeight)
        m_env.screenHeight = &frmVelmora::primaryScreenHeight;
    setObjectName(QStringLiteral("frmVelmora"));

    const QJsonObject design = FormBuilder::loadDesign(designDataPath());
    setWindowTitle(design.value(QStringLiteral("form"))
                       .toObject()
                       .value(QStringLiteral("caption"))
                       .toString());
    setWindowIcon(QIcon(QStringLiteral(":/design/velmora.svg")));

    m_form = new QWidget(this);
    m_form->setObjectName(QStringLiteral("frmVelmoraClient"));
    m_form->setFixedSize(FormBuilder::clientSize(design));
    setCentralWidget(m_form);
    FormBuilder::build(design, m_form);
    m_tabs = control<QTabWidget>(m_form, QStringLiteral("SSTab1"));

    buildMenu();
    connectHelpMenu(this, m_env.programFolder);
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
    QAction *exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuFileExit"));
    connect(exit, &QAction::triggered, this, &frmVelmora::mnuFileExit_Click);

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

void frmVelmora::fillConstantTables()
{
    const int year = 1999;
    SeasonDates = {QDate(year, 6, 21),  QDate(year, 7, 7), QDate(year, 9, 22), QDate(year, 11, 7),
                   QDate(year, 12, 21), QDate(year, 2, 4), QDate(year, 3, 20), QDate(year, 5, 5)};
    SeasonTimes = {QTime(12, 0), QTime(15, 0), QTime(18, 0), QTime(21, 0),
                   QTime(0, 0),  QTime(3, 0),  QTime(6, 0),  QTime(9, 0)};
    ZodiacSigns = {
        QStringLiteral("Aries"),     QStringLiteral("Taurus"),   QStringLiteral("Geminii"),
        QStringLiteral("Cancer"),    QStringLiteral("Leo"),      QStringLiteral("Virgo"),
        QStringLiteral("Libra"),     QStringLiteral("Scorpio"),  QStringLiteral("Sagittar."),
        QStringLiteral("Capricorn"), QStringLiteral("Aquarius"), QStringLiteral("Pisces")};
    DecanLabels = {QStringLiteral("E="), QStringLiteral("F="), QStringLiteral("G=")};
    const char *chords[] = {"dhaeA", "haebA", "aebfA", "haebE", "aebfE", "ebfcE", "aebfB", "ebfcB",
                            "bfcgB", "ebfcF", "bfcgF", "fcgdF", "bfcgC", "fcgdC", "cgdhC", "fcgdG",
                            "cgdbG", "gdhaG", "cgdhD", "gdhaD", "dhaeD", "gdhaH", "dhaeH", "haebH"};
    HourChords[0].clear();
    for (int i = 0; i < 24; ++i)
        HourChords[i + 1] = QString::fromLatin1(chords[i]);
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

void frmVelmora::readMusicValues()
{
    MaxVolume = numericInt16(control<QLineEdit>(m_form, QStringLiteral("txtVolume(1)"))->text());
    MinVolume = numericInt16(control<QLineEdit>(m_form, QStringLiteral("txtVolume(0)"))->text());
    MidVolume = toInt16((static_cast<double>(MinVolume) + MaxVolume) / 2.0);
    PitchOffset = numericInt16(control<QLineEdit>(m_form, QStringLiteral("txtPitch"))->text());
}

void frmVelmora::Form_Load()
{
    // 1. The caption carries the version.
    setWindowTitle(windowTitle() + QStringLiteral(VELMORA_VERSION_SUFFIX));
    // 2. The layout needs a screen at least 768 pixels high; start-up goes on regardless.
    checkScreen();
    // 3. Open on the first page.
    m_tabs->setCurrentIndex(0);
    // 5. The cycle buttons keep their idle captions in their tags.
    for (const char *name : {"cmdCyclusHarmonicus", "cmdDays", "cmdZodiac"}) {
        auto *b = control<QPushButton>(m_form, QString::fromLatin1(name));
        b->setProperty("Tag", b->text());
    }
    // 6, 8. Constant tables.
    fillConstantTables();
    // 7. Both timers off.
    control<QTimer>(m_form, QStringLiteral("Timer1"))->stop();
    control<QTimer>(m_form, QStringLiteral("Timer2"))->stop();
    // 11. Combo-box lists and their first selections.
    fillCombos();
    // 12. The words of the Art.
    loadTextTables(m_tables);
    // 13. Semitone tables.
    PlanetSemitones = {0, 7, 2, 9, 4, 11, 5, 5};
    HarmonicSemitones = {5, 9, 0, 4, 7, 11, 2};
    MajorScale = {0, 2, 4, 5, 7, 9, 11};
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
    // 18. The user's settings of the last run.
    readSettings();
    // 19. The other two combination boxes copy the first.
    control<QLineEdit>(m_form, QStringLiteral("txtCode(1)"))->setText(code0->text());
    control<QLineEdit>(m_form, QStringLiteral("txtCode(2)"))->setText(code0->text());
    // 23. Velocities and pitch from their boxes.
    readMusicValues();
    // 24. Page keys of the four books.
    BookKeys[0] = QStringLiteral("ars-brevis");
    BookKeys[1] = QStringLiteral("liber-de-lumine");
    BookKeys[2] = QStringLiteral("velmora");
    BookKeys[3] = QStringLiteral("seven-planets");
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
    // 3. The settings file.
    writeSettings();
}

void frmVelmora::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    event->accept();
}

} // namespace velmora
