#include "patterns/ui/patternarea.h"

#include "core/parastruct.h"
#include "core/viewfit.h"
#include "patterns/patterngeom.h"
#include "patterns/patternsheet.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
// The cut-mode buttons stand over the view's upper left corner: a fitted
// sheet starts below them.
constexpr int kButtonBand = 36;
} // namespace

QString Empty_Sheet_Text(int kind)
{
    switch (kind) {
    case PanelPatterns: return QStringLiteral("no panels in this design");
    case RibPatterns: return QStringLiteral("no ribs in this design");
    case DiagonalPatterns: return QStringLiteral("no diagonal ribs in this design");
    case RearMiniRibPatterns: return QStringLiteral("no rear mini-ribs in this design");
    case FrontMiniRibPatterns: return QStringLiteral("no front mini-ribs in this design");
    case StrapPatterns: return QStringLiteral("no straps in this design");
    default: return QString();
    }
}

PatternArea::PatternArea(QWidget* parent) : QWidget(parent)
{
    design = GetDataStruct();
    glob = GetGlobClass();
    viewRect = rect();
}

void PatternArea::initPatternArea()
{
    viewRect = rect();
    fitZoom = 0.0;
    fittedKinds.clear();
}

QString PatternArea::Create_Previews(int kind, const PatternOptions& options)
{
    PatternSheet sheet;
    sheet.design = design;
    sheet.options = options;
    sheet.font = font();
    sheet.viewSize = size();
    QString refusal;
    QStringList notes;
    sheet.notes = &notes;
    QPainterPath drawn = Preview_Pattern(sheet, kind, &refusal);
    patternPath.swap(drawn);
    kindShown = kind >= 0 && kind < Drawing3D;
    // A sheet without pieces says why, instead of showing an empty area.
    emptyNote.clear();
    if (patternPath.isEmpty() && kind >= 0 && kind < Drawing3D)
        emptyNote = !refusal.isEmpty() ? refusal
                    : !notes.isEmpty() ? notes.join(QLatin1Char('\n'))
                                       : Empty_Sheet_Text(kind);
    // A sheet opens whole, the first time its kind is drawn after the
    // dialog was shown; after that the zoom is the user's.
    if (!patternPath.isEmpty() && !fittedKinds.contains(kind)) {
        fittedKinds.insert(kind);
        Auto_Zoom();
    }
    repaint();
    return refusal;
}

void PatternArea::Auto_Zoom()
{
    const QRectF r = patternPath.controlPointRect();
    // Nothing drawn: nothing to fit.
    if (r.width() <= 0 && r.height() <= 0)
        return;
    const double m = int(((r.y() + r.height()) - r.y()) / 20);
    drawingRect = QRectF(r.x() - m, r.y() - m, r.width() + 2 * m, r.height() + 2 * m);
    // The whole framed sheet in the middle of the view as it is now (the
    // window may have been resized since it was shown), below the cut-mode
    // buttons; a large sheet may need a zoom below the wheel's steps.
    const ViewFit fit = Fit_In(drawingRect, QRectF(rect()).adjusted(0, kButtonBand, 0, 0));
    zoom = fit.zoom;
    fitZoom = zoom;
    // About the anchor (0, 0) a sheet point p shows at zoom x p.
    patternPath.translate(fit.offset / zoom);
    anchor = QPointF(0, 0);
}

double Wheel_Zoom(double zoom, int delta, double step, double fitZoom)
{
    // Below one step the steps shrink with the zoom, so that a sheet fitted
    // far below it can be zoomed by the wheel in useful steps.
    const double d = zoom < step ? 0.5 * zoom : step;
    zoom += delta > 0 ? d : -d;
    const double floor = std::min(step, fitZoom > 0 ? fitZoom : step);
    return zoom <= floor ? floor : zoom;
}

QPointF PatternArea::myAnchor() const
{
    return QPointF(mapFromGlobal(QCursor::pos()));
}

void PatternArea::my_paint(QPainter* painter, const QPainterPath& path, const QPen& pen) const
{
    const QPainterPath p = path.translated(-anchor.x(), -anchor.y());
    QTransform t;
    t.translate(anchor.x(), anchor.y());
    t.scale(zoom, zoom);
    painter->setTransform(t);
    painter->setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter->setPen(pen);
    QPainterPath filled = p;
    filled.setFillRule(Qt::OddEvenFill);
    painter->drawPath(filled);
}

QString PatternArea::chooseHint()
{
    return QStringLiteral("Choose a tab above to preview its pieces, or \"Export all\" to write every DXF file.");
}

void PatternArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::lightGray, Qt::SolidPattern));
    painter.drawRect(rect());
    if (!kindShown) {
        painter.setPen(Qt::black);
        painter.drawText(rect().adjusted(20, kButtonBand, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, chooseHint());
        return;
    }
    QPen pen(Qt::darkRed, 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    pen.setCosmetic(true);
    my_paint(&painter, patternPath, pen);
    if (!emptyNote.isEmpty()) {
        painter.resetTransform();
        painter.setPen(Qt::black);
        painter.drawText(rect().adjusted(20, 40, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, emptyNote);
    }
}

void PatternArea::mousePressEvent(QMouseEvent* event)
{
    moveCount = 0;
    const Qt::MouseButtons buttons = event->buttons() | event->button();
    if (buttons & Qt::RightButton) {
        zoom = 1.0;
        anchor = QPointF(0, 0);
        update();
    }
    if (buttons & Qt::MiddleButton) {
        lastMousePos = event->position().toPoint();
        update();
    }
    if (buttons & Qt::LeftButton) {
        Auto_Zoom();
        update();
    }
}

void PatternArea::mouseMoveEvent(QMouseEvent* event)
{
    // Panning goes in steps of ten mouse events.
    if (++moveCount % 10 != 0)
        return;
    const QPoint p = event->position().toPoint();
    const QPoint q = lastMousePos;
    lastMousePos = p;
    if (!(event->buttons() & Qt::MiddleButton))
        return;
    patternPath.translate((p.x() - q.x()) / zoom, (p.y() - q.y()) / zoom);
    update();
}

void PatternArea::wheelEvent(QWheelEvent* event)
{
    lastAnchor = anchor;
    anchor = myAnchor();
    zoom = Wheel_Zoom(zoom, event->angleDelta().y(), zoomStep, fitZoom);
    // Moving the anchor to the cursor leaves the picture in place; the zoom
    // then changes about the cursor.
    const double k = (zoom - 1) / zoom;
    patternPath.translate(k * (anchor.x() - lastAnchor.x()), k * (anchor.y() - lastAnchor.y()));
    update();
}

void PatternArea::showEvent(QShowEvent*) {}
