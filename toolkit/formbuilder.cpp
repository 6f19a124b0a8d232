#include "toolkit/formbuilder.h"

#include "core/units.h"
#include "toolkit/picturebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QIcon>
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
#include <QTimer>

namespace velmora {

namespace {

const auto kCanvasName = QStringLiteral("qt_design_canvas");

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

/// The design's page coordinates count from the tab control's top edge and put controls as high
/// as 19 pixels down, so the tab strip must be no taller than that: less vertical padding.
class CompactTabStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        if (metric == PM_TabBarTabVSpace)
            return qMax(0, base - 6);
        return base;
    }
};

QRect pixelRect(const QJsonValue &geom)
{
    const QJsonArray g = geom.toArray();
    if (g.size() != 4)
        return {};
    return {twipsToPixels(g.at(0).toDouble()), twipsToPixels(g.at(1).toDouble()),
            twipsToPixels(g.at(2).toDouble()), twipsToPixels(g.at(3).toDouble())};
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
            b->setIcon(QIcon(icon));
            b->setIconSize(QSize(14, 14));
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
        auto *style = new CompactTabStyle;
        style->setParent(t);
        t->tabBar()->setStyle(style);
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

QSize FormBuilder::clientSize(const QJsonObject &design)
{
    const QJsonObject form = design.value(QStringLiteral("form")).toObject();
    return {twipsToPixels(form.value(QStringLiteral("width")).toDouble()),
            twipsToPixels(form.value(QStringLiteral("height")).toDouble())};
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
        w->setGeometry(pixelRect(c.value(QStringLiteral("geom"))));
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

} // namespace velmora
