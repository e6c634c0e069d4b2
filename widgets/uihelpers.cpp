#include "widgets/uihelpers.h"

#include <QFontMetricsF>

#include <algorithm>

#include "core/userinteraction.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QTabWidget>
#include <QTabBar>
#include <QToolTip>
#include <QFileInfo>

QString CheckDoubleStr(QString text)
{
    return text.replace(QLatin1Char(','), QLatin1Char('.'));
}

double doubleFromEdit(QLineEdit* edit)
{
    // QString::toDouble always reads a point as the decimal separator.
    return CheckDoubleStr(edit->text()).toDouble();
}

void Show_Warning(const QString& title, const QString& text)
{
    User().warning(title, text);
}

void showToolTip(QPoint globalPos, const QString& text)
{
    QToolTip::showText(globalPos, text);
}

void Tab_Select(int current, QFont font, QTabWidget* tabs)
{
    QFont f = font;
    f.setBold(true);
    for (int i = 0; i < tabs->count(); ++i) {
        if (i == current) {
            tabs->setTabText(i, tabs->tabText(i).toUpper());
            // Only the tab titles turn bold: a bold tab widget would pass its
            // font to every page, whose fixed-size labels then clip.
            tabs->tabBar()->setFont(f);
        } else {
            tabs->setTabText(i, tabs->tabText(i).toLower());
        }
    }
}

void Print_Drawing(QSize size, const std::function<void(QPainter*)>& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setColorMode(QPrinter::GrayScale);

    if (!User().print(&printer, "Print this page ?  "))
        return;

    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const int w = qMax(1, size.width());
    const int h = qMax(1, size.height());
    const double s = qMin(double(page.width()) / double(w), double(page.height()) / double(h));
    // The drawing's own middle on the page's middle, whatever the screen.
    painter.translate(paper.x() + page.width() / 2, paper.y() + page.height() / 2);
    painter.scale(s, s);
    painter.translate(-w / 2.0, -h / 2.0);
    paint(&painter);
    painter.end();
}

void Print_Widget(QWidget* widget)
{
    Print_Drawing(widget->size(), [widget](QPainter* painter) {
        widget->render(painter, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    });
}

QString strippedName(const QString& path)
{
    return QFileInfo(path).fileName();
}

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

QString Open_File_Name(QWidget*, const QString& caption, const QString& dir, const QString& filter)
{
    return User().openFileName(caption, dir, filter);
}

QString Save_File_Name(QWidget*, const QString& caption, const QString& dir, const QString& filter)
{
    return User().saveFileName(caption, dir, filter);
}

int Fitting_Point_Size(const QFont& font, const QString& text, int width, int smallest)
{
    QFont f = font;
    const int start = font.pointSize() > 0 ? font.pointSize() : 10;
    for (int points = start; points > smallest; --points) {
        f.setPointSize(points);
        if (QFontMetricsF(f).horizontalAdvance(text) <= width)
            return points;
    }
    return std::min(start, smallest);
}

void Fit_Caption(QWidget* caption, const QFont& font, const QString& text, int width, int extra)
{
    QFont f = font;
    f.setPointSize(Fitting_Point_Size(font, text, width - extra));
    caption->setFont(f);
}
