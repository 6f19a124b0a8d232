#pragma once

#include <QJsonObject>
#include <QSize>
#include <QString>

class QWidget;
class QTabWidget;

namespace velmora {

/// Builds a window's controls from design data: a JSON object with "form" (name, caption, client
/// width and height in twips) and "controls", each with a name, a kind and its texts and twip
/// geometry (left, top, width, height within its container: a tab page, a frame or a picture box).
///
/// Kinds and the widgets they become: "tab" QTabWidget, "picture" PictureBox, "label" QLabel,
/// "image" QLabel (a picture holder), "text" QLineEdit, "textmulti" QPlainTextEdit, "button"
/// QPushButton, "option" QRadioButton, "check" QCheckBox, "combo" QComboBox, "frame" QGroupBox,
/// "browser" QTextBrowser, "timer" QTimer (a child object of the root, no geometry).
/// Every widget's objectName is its design name, so code finds controls by name.
class FormBuilder
{
public:
    /// Reads design data from a file or resource path; an empty object when it cannot be read.
    static QJsonObject loadDesign(const QString &path);

    /// Client size of the form in pixels, at the given zoom.
    static QSize clientSize(const QJsonObject &design, double zoom = 1);

    /// Creates every control under root (the client area). Returns the number of controls
    /// created; a control whose kind or container is unknown is skipped with a warning.
    static int build(const QJsonObject &design, QWidget *root);

    /// Scales the whole form built under root: every control's position, size, font and icon,
    /// the picture boxes and root's own fixed size, from the design data kept at build time,
    /// so the form looks the same, only larger. Controls keep their content and state.
    /// Fonts set after build() on a control other than root are replaced by the design font.
    static void setZoom(QWidget *root, double zoom);
    /// The zoom last set on root; 1 before any.
    static double zoom(const QWidget *root);
    /// The zoom of the form that holds w (the nearest ancestor a zoom was set on); 1 before any.
    static double zoomOf(const QWidget *w);

    /// Page widgets of a tab control are laid out by the style; controls on a page are placed
    /// in the tab control's own coordinates, as the design measures them.
    static QWidget *pageCanvas(QTabWidget *tabs, int page);
};

} // namespace velmora
