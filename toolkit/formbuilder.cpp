#include "toolkit/formbuilder.h"

#include "core/units.h"
#include "toolkit/picturebox.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QIcon>
#include <QIconEngine>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <cmath>
#include <map>

namespace velmora {

namespace {

const auto kCanvasName = QStringLiteral("qt_design_canvas");

// What a zoom scales, kept on each widget as the design data gave it.
constexpr const char *kTwipsProperty = "velmoraTwips";
constexpr const char *kFontProperty = "velmoraFont";
constexpr const char *kIconProperty = "velmoraIconSize";
constexpr const char *kTabStopProperty = "velmoraTabStop";
constexpr const char *kClientProperty = "velmoraClientTwips";
constexpr const char *kZoomProperty = "velmoraZoom";
constexpr const char *kCompactTabsProperty = "velmoraCompactTabs";
constexpr int kIconPixels = 14;

/// An icon read from its file when first drawn. Loading the SVG icon engine takes a millisecond
/// or more, which a start need not spend on buttons of pages not yet shown.
class DeferredIconEngine : public QIconEngine
{
public:
    explicit DeferredIconEngine(QString path)
        : m_path(std::move(path))
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1, mode, state);
    }
    // The size comes in device pixels, as QIcon asks an engine for a dense screen.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    // Until the file is read, a file named counts as an icon.
    bool isNull() override { return m_loaded ? m_icon.isNull() : m_path.isEmpty(); }
    QString key() const override { return QStringLiteral("velmora-deferred"); }
    QIconEngine *clone() const override { return new DeferredIconEngine(m_path); }

private:
    const QIcon &icon()
    {
        if (!m_loaded) {
            m_icon = QIcon(m_path);
            m_loaded = true;
        }
        return m_icon;
    }

    QString m_path;
    QIcon m_icon;
    bool m_loaded = false;
};

/// Keeps a page's canvas at the tab control's origin: the design measures controls on a page
/// from the tab control's top-left corner, tab strip included, while Qt's page starts below it.
class CanvasAnchor : public QObject
{
public:
    CanvasAnchor(QTabWidget *tabs, QWidget *page, QWidget *canvas)
        : QObject(page)
        , m_tabs(tabs)
        , m_page(page)
        , m_canvas(canvas)
    {
        page->installEventFilter(this);
        place();
    }

    void place()
    {
        const QPoint origin = m_page->mapTo(m_tabs, QPoint(0, 0));
        m_canvas->setGeometry(-origin.x(), -origin.y(), m_tabs->width(), m_tabs->height());
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_page && (event->type() == QEvent::Resize ||
                                  event->type() == QEvent::Move || event->type() == QEvent::Show))
            place();
        return QObject::eventFilter(watched, event);
    }

private:
    QTabWidget *m_tabs;
    QWidget *m_page;
    QWidget *m_canvas;
};

/// The style of a zoomed form: the platform's style with every pixel measure (indicators,
/// scroll bars, frames, margins) times the zoom, so the form looks the same, only larger.
///
/// Tab strips get less vertical padding: the design's page coordinates count from the tab
/// control's top edge and put controls as high as 19 pixels down, so the tab strip must be no
/// taller than that.
class FormStyle : public QProxyStyle
{
public:
    FormStyle(double zoom, bool compactTabs)
        : m_zoom(zoom)
        , m_compactTabs(compactTabs)
    {}

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        int base = QProxyStyle::pixelMetric(metric, option, widget);
        if (m_compactTabs && metric == PM_TabBarTabVSpace)
            base = qMax(0, base - 6);
        return m_zoom == 1 ? base : qRound(base * m_zoom);
    }

private:
    double m_zoom;
    bool m_compactTabs;
};

/// A paint device of the zoom's resolution: rich text laid out for it has its point sizes,
/// margins and borders scaled, as the design measures them in points.
QPaintDevice *zoomedTextDevice(double zoom)
{
    static std::map<double, QImage> devices;
    QImage &device = devices[zoom];
    if (device.isNull()) {
        device = QImage(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(96 * zoom / 0.0254);
        device.setDotsPerMeterX(dotsPerMetre);
        device.setDotsPerMeterY(dotsPerMetre);
    }
    return &device;
}

QRectF twipRect(const QJsonValue &geom)
{
    const QJsonArray g = geom.toArray();
    if (g.size() != 4)
        return {};
    return {g.at(0).toDouble(), g.at(1).toDouble(), g.at(2).toDouble(), g.at(3).toDouble()};
}

// The form at zoom 1 in whole pixels, scaled: at 200% every control is exactly twice its size
// and distance from its container's corner.
int zoomedPixels(double twips, double zoom)
{
    return qRound(twipsToPixels(twips) * zoom);
}

QRect zoomedRect(const QRectF &twips, double zoom)
{
    return {zoomedPixels(twips.x(), zoom), zoomedPixels(twips.y(), zoom),
            zoomedPixels(twips.width(), zoom), zoomedPixels(twips.height(), zoom)};
}

QFont zoomedFont(QFont font, double zoom)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * zoom);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * zoom)));
    return font;
}

void applyFont(QWidget *w, const QJsonValue &font)
{
    const QJsonArray f = font.toArray();
    if (f.size() < 2)
        return;
    QFont qf(f.at(0).toString());
    qf.setPointSizeF(f.at(1).toDouble());
    if (f.size() > 2)
        qf.setBold(f.at(2).toBool());
    w->setFont(qf);
    w->setProperty(kFontProperty, qf);
}

QWidget *makeWidget(const QString &kind, const QJsonObject &c, QWidget *parent)
{
    const QString text = c.value(QStringLiteral("text")).toString();
    if (kind == u"picture")
        return new PictureBox(parent);
    if (kind == u"label") {
        auto *l = new QLabel(text, parent);
        l->setWordWrap(c.value(QStringLiteral("wrap")).toBool());
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    }
    if (kind == u"image") {
        auto *l = new QLabel(parent);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    }
    if (kind == u"text") {
        auto *e = new QLineEdit(text, parent);
        if (c.value(QStringLiteral("align")).toString() == u"center")
            e->setAlignment(Qt::AlignCenter);
        return e;
    }
    if (kind == u"textmulti") {
        auto *e = new QPlainTextEdit(text, parent);
        e->setVerticalScrollBarPolicy(c.value(QStringLiteral("vscroll")).toBool()
                                          ? Qt::ScrollBarAlwaysOn
                                          : Qt::ScrollBarAsNeeded);
        e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        return e;
    }
    if (kind == u"button") {
        auto *b = new QPushButton(text, parent);
        const QString icon = c.value(QStringLiteral("icon")).toString();
        if (!icon.isEmpty()) {
            b->setIcon(QIcon(new DeferredIconEngine(icon)));
            b->setIconSize(QSize(kIconPixels, kIconPixels));
            b->setProperty(kIconProperty, QSize(kIconPixels, kIconPixels));
        }
        return b;
    }
    if (kind == u"option") {
        auto *r = new QRadioButton(text, parent);
        r->setChecked(c.value(QStringLiteral("checked")).toBool());
        return r;
    }
    if (kind == u"check")
        return new QCheckBox(text, parent);
    if (kind == u"combo")
        return new QComboBox(parent);
    if (kind == u"frame")
        return new QGroupBox(text, parent);
    if (kind == u"browser")
        return new QTextBrowser(parent);
    if (kind == u"tab") {
        auto *t = new QTabWidget(parent);
        auto *style = new FormStyle(1, true);
        style->setParent(t);
        t->tabBar()->setStyle(style);
        t->tabBar()->setProperty(kCompactTabsProperty, true);
        const QJsonArray pages = c.value(QStringLiteral("pages")).toArray();
        for (const QJsonValue &p : pages) {
            auto *page = new QWidget;
            auto *canvas = new QWidget(page);
            canvas->setObjectName(kCanvasName);
            t->addTab(page, p.toString());
            new CanvasAnchor(t, page, canvas);
        }
        return t;
    }
    return nullptr;
}

} // namespace

QJsonObject FormBuilder::loadDesign(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QSize FormBuilder::clientSize(const QJsonObject &design, double zoom)
{
    const QJsonObject form = design.value(QStringLiteral("form")).toObject();
    return {zoomedPixels(form.value(QStringLiteral("width")).toDouble(), zoom),
            zoomedPixels(form.value(QStringLiteral("height")).toDouble(), zoom)};
}

QWidget *FormBuilder::pageCanvas(QTabWidget *tabs, int page)
{
    if (!tabs || page < 0 || page >= tabs->count())
        return nullptr;
    return tabs->widget(page)->findChild<QWidget *>(kCanvasName, Qt::FindDirectChildrenOnly);
}

int FormBuilder::build(const QJsonObject &design, QWidget *root)
{
    QHash<QString, QWidget *> containers;
    QTabWidget *tabs = nullptr;
    int created = 0;
    const QJsonObject form = design.value(QStringLiteral("form")).toObject();
    root->setProperty(kClientProperty, QSizeF(form.value(QStringLiteral("width")).toDouble(),
                                              form.value(QStringLiteral("height")).toDouble()));
    const QJsonArray controls = design.value(QStringLiteral("controls")).toArray();
    for (const QJsonValue &v : controls) {
        const QJsonObject c = v.toObject();
        const QString name = c.value(QStringLiteral("name")).toString();
        const QString kind = c.value(QStringLiteral("kind")).toString();

        if (kind == u"timer") {
            auto *timer = new QTimer(root);
            timer->setObjectName(name);
            timer->setInterval(c.value(QStringLiteral("interval")).toInt());
            if (c.value(QStringLiteral("precise")).toBool())
                timer->setTimerType(Qt::PreciseTimer);
            ++created;
            continue;
        }

        QWidget *parent = root;
        if (c.contains(QStringLiteral("parent")))
            parent = containers.value(c.value(QStringLiteral("parent")).toString());
        else if (c.contains(QStringLiteral("page")))
            parent = pageCanvas(tabs, c.value(QStringLiteral("page")).toInt());
        if (!parent) {
            qWarning("design: no container for %s", qPrintable(name));
            continue;
        }

        QWidget *w = makeWidget(kind, c, parent);
        if (!w) {
            qWarning("design: unknown kind %s of %s", qPrintable(kind), qPrintable(name));
            continue;
        }
        w->setObjectName(name);
        const QRectF twips = twipRect(c.value(QStringLiteral("geom")));
        w->setGeometry(zoomedRect(twips, 1));
        w->setProperty(kTwipsProperty, twips);
        applyFont(w, c.value(QStringLiteral("font")));
        const QString tip = c.value(QStringLiteral("tip")).toString();
        if (!tip.isEmpty())
            w->setToolTip(tip);
        if (c.value(QStringLiteral("visible")).toBool(true) == false)
            w->setVisible(false);
        if (auto *t = qobject_cast<QTabWidget *>(w)) {
            tabs = t;
            t->setCurrentIndex(c.value(QStringLiteral("current")).toInt());
        }
        containers.insert(name, w);
        ++created;
    }
    return created;
}

double FormBuilder::zoom(const QWidget *root)
{
    const QVariant z = root->property(kZoomProperty);
    return z.isValid() ? z.toDouble() : 1.0;
}

double FormBuilder::zoomOf(const QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        const QVariant z = w->property(kZoomProperty);
        if (z.isValid())
            return z.toDouble();
    }
    return 1.0;
}

void FormBuilder::setZoom(QWidget *root, double zoom)
{
    const double previous = FormBuilder::zoom(root);
    if (!(zoom > 0) || !std::isfinite(zoom) || zoom == previous)
        return;
    root->setProperty(kZoomProperty, zoom);
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    // The picture boxes learn the zoom first, so the larger fonts that reach them below are
    // taken as a zoom and leave their drawing fonts alone.
    for (QWidget *w : widgets) {
        if (auto *box = qobject_cast<PictureBox *>(w))
            box->setZoom(zoom);
    }
    QVariant base = root->property(kFontProperty);
    if (!base.isValid()) {
        base = root->font();
        root->setProperty(kFontProperty, base);
    }
    root->setFont(zoomedFont(base.value<QFont>(), zoom));
    // One style for the plain controls and one for tab strips; the previous ones go.
    auto *plainStyle = new FormStyle(zoom, false);
    auto *tabStyle = new FormStyle(zoom, true);
    for (QStyle *style : {plainStyle, tabStyle}) {
        style->setParent(root);
        style->setObjectName(QStringLiteral("velmoraFormStyle"));
    }
    for (QStyle *old : root->findChildren<QStyle *>(QStringLiteral("velmoraFormStyle"),
                                                    Qt::FindDirectChildrenOnly)) {
        if (old != plainStyle && old != tabStyle)
            old->deleteLater();
    }
    for (QWidget *w : widgets) {
        w->setStyle(w->property(kCompactTabsProperty).toBool() ? tabStyle : plainStyle);
        if (auto *rich = qobject_cast<QTextEdit *>(w)) {
            // The widget's zoomed font must not count twice with the zoomed resolution.
            rich->document()->setDefaultFont(zoomedFont(rich->font(), 1 / zoom));
            rich->document()->documentLayout()->setPaintDevice(zoom == 1 ? nullptr
                                                                         : zoomedTextDevice(zoom));
            rich->document()->markContentsDirty(0, rich->document()->characterCount());
        }
        const QVariant font = w->property(kFontProperty);
        if (font.isValid())
            w->setFont(zoomedFont(font.value<QFont>(), zoom));
        const QVariant icon = w->property(kIconProperty);
        if (auto *button = qobject_cast<QAbstractButton *>(w); button && icon.isValid())
            button->setIconSize(icon.toSize() * zoom);
        if (auto *edit = qobject_cast<QPlainTextEdit *>(w)) {
            // Tab stops are pixels; the owner set them for the design size.
            QVariant stop = w->property(kTabStopProperty);
            if (!stop.isValid()) {
                stop = edit->tabStopDistance() / previous;
                w->setProperty(kTabStopProperty, stop);
            }
            edit->setTabStopDistance(stop.toDouble() * zoom);
        }
        const QVariant twips = w->property(kTwipsProperty);
        if (twips.isValid())
            w->setGeometry(zoomedRect(twips.toRectF(), zoom));
    }
    const QSizeF client = root->property(kClientProperty).toSizeF();
    if (!client.isEmpty())
        root->setFixedSize(zoomedPixels(client.width(), zoom), zoomedPixels(client.height(), zoom));
}

} // namespace velmora
