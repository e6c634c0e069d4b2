#ifndef UIHELPERS_H
#define UIHELPERS_H

#include "core/userinteraction.h"

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>

class QLineEdit;
class QPainter;
class QTabWidget;
class QWidget;

// Small helpers every dialog of the main program uses.

// The text with every comma replaced by a point.
QString CheckDoubleStr(QString text);

// The number typed in the field; a decimal comma is accepted; bad text gives 0.0.
// A field that gives the design one of its numbers takes it through
// Take_Input (widgets/numberfield.h) instead, which refuses bad text.
double doubleFromEdit(QLineEdit* edit);

// Break_Question, the modal OK/Cancel question, comes with the seam.

// A warning box with one OK button.
void Show_Warning(const QString& title, const QString& text);

// A tool tip at a global screen position.
void showToolTip(QPoint globalPos, const QString& text);

// Marks the current tab: its title in upper case, the others in lower case,
// and the tab widget's font made bold.
void Tab_Select(int current, QFont font, QTabWidget* tabs);

// Prints the widget on one A4 landscape page in greyscale, after the print
// dialog, scaled to fit the printable page and centred. Qt draws the texts of
// a widget rendered onto a printer as outlines.
void Print_Widget(QWidget* widget);
// The same for a drawing of `size` (widget pixels) that `paint` makes: a view
// that paints itself through it keeps its texts as text in the print.
void Print_Drawing(QSize size, const std::function<void(QPainter*)>& paint);

// The largest point size, from the font's own down to `smallest`, at which
// the text fits `width` pixels; `smallest` when none does.
int Fitting_Point_Size(const QFont& font, const QString& text, int width, int smallest = 7);

// Gives a fixed-width caption (a label, a check box) the largest font, up to
// `font`'s size, at which its text shows whole in `width` pixels; `extra`
// pixels are taken by the widget itself (a check box's box).
void Fit_Caption(QWidget* caption, const QFont& font, const QString& text, int width, int extra = 0);

// File choosers: the chosen path, or an empty string when cancelled.
QString Open_File_Name(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
QString Save_File_Name(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);

// The file-name part of a path.
QString strippedName(const QString& path);

// The wait cursor over the program's windows for as long as it lives, for
// work of a moment that shows no progress of its own (reading a project,
// drawing a texture). Questions asked meanwhile show the ordinary pointer.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

#endif
