#include "shape/ui/flatwing.h"
#include "widgets/editsession.h"

#include "ui_flatwing.h"

#include "geom/sheet.h"
#include "core/calcul3d.h"
#include "core/curves.h"
#include "geom/flatwingdxf.h"
#include "core/designedit.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "shape/planoutline.h"
#include "widgets/textdraw.h"
#include "core/viewfit.h"
#include "widgets/uihelpers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QList>
#include <QPolygonF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

// --- Plan-view painter ---------------------------------------------------

namespace {
// Point of rib r at airfoil index i in the plan view; the leading edge when
// the rib has no such point.
QPointF ribPoint(const ParaStruct* ps, int r, int i)
{
    const QPolygonF& foil = ps->ribAirfoils[r];
    const double x = (i >= 0 && i < foil.size()) ? foil.at(i).x() : 0.0;
    return QPointF(ps->ribSpanPos[r], ps->leadingEdgeX[r] + x * ps->chord[r]);
}
} // namespace

void pp_Ribs_Globs_Lines(const ParaStruct* ps, QPainter* painter, bool drawRibs, bool drawLabels, bool drawLines)
{
    const QFontMetrics fm(painter->font());
    const int wx = -(fm.boundingRect(QStringLiteral("x")).width() / 2);
    const int hy = fm.boundingRect(QStringLiteral("y")).height();
    QFont font = painter->font();
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    font.setPointSize(10);
    painter->setFont(font);
    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine));

    const int first = std::max(ps->firstRib, 0);
    const int last = std::min(ps->lastRib, kRibSlots - 1);

    if (drawRibs) {
        for (int r = first; r <= last; ++r) {
            const int X = qRound(ps->ribSpanPos[r]);
            const double LE = ps->leadingEdgeX[r];
            const double TE = ps->trailingEdgeX[r];
            painter->drawLine(QPointF(X, TE), QPointF(X, LE));
            if (r > 0)
                painter->drawText(QPointF(X + wx, TE + hy), QString::number(r));
            if (drawLabels) {
                DrawVerticalText(painter, QStringLiteral("%1").arg(100 * ps->R_X(TE - LE), 5, 'f', 2),
                                 QPointF(X, LE - 2 * hy));
                if (r < last && r + 1 < kRibSlots) {
                    const int f = (r % 2 == 0) ? 2 : 4;
                    const double width = 100 * ps->R_X(ps->ribSpanPos[r + 1] - ps->ribSpanPos[r]);
                    painter->drawText(QPointF(X + f * wx, TE + f * hy), QStringLiteral("%1").arg(width, 5, 'f', 2));
                }
            }
        }
    }

    if (drawLabels) {
        painter->setPen(QPen(Qt::magenta, 1));
        for (int r = first; r <= last; ++r) {
            const int X = qRound(ps->ribSpanPos[r]);
            const double LE = ps->leadingEdgeX[r];
            const double Q = LE + 0.25 * (ps->trailingEdgeX[r] - LE);
            painter->drawEllipse(QRectF(X - 5, Q - 5, 10, 10));
        }
        const double M = ps->leadingEdgeX[0] + ps->metaCentre * (ps->trailingEdgeX[0] - ps->leadingEdgeX[0]);
        const int tipX = qRound(ps->ribSpanPos[last]);
        painter->setPen(QPen(Qt::blue, 2, Qt::DashDotLine));
        painter->drawLine(QPointF(0, M), QPointF(tipX, M));
        painter->drawText(QPointF(tipX, M), QStringLiteral("meta lift center: %1").arg(100 * ps->metaCentre, 0, 'f', 2));
    }

    if (drawLines) {
        painter->setPen(QPen(Qt::black, 1));
        for (int k = 0; k < kLineRows; ++k) {
            QPolygonF row;
            for (int r = first; r <= last; ++r)
                row << ribPoint(ps, r, ps->lineIndex[k][r]);
            if (row.isEmpty())
                continue;
            painter->drawText(QPointF(row.first().x() - 40, row.first().y()), LineLetter(k));
            painter->drawPolyline(row);
        }
        painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
        for (int k = 0; k < kLineRows; ++k) {
            QPolygonF row;
            for (int r = first; r <= last; ++r)
                row << ribPoint(ps, r, ps->rowCentreIndex[k]);
            painter->drawPolyline(row);
        }
        QPen cyan(Qt::cyan, 0, Qt::DotLine);
        cyan.setCosmetic(true);
        painter->setPen(cyan);
        for (int k = 0; k < kLineRows; ++k) {
            QPolygonF row;
            for (int r = first; r <= last; ++r)
                row << ribPoint(ps, r, ps->dynLineIndex[k][r]);
            painter->drawPolyline(row);
        }
    }
}

// --- The planform widget -------------------------------------------------

int set_selected_button(QPoint pos, double scale, QPointF translation, const QPointF* points)
{
    for (int i = 0; i < 8; ++i)
        if (Dist2(QPointF(pos), scale * points[i] + translation) < 10)
            return i;
    return -1;
}

FlatWing::FlatWing(QWidget* parent)
    : QWidget(parent), design(GetDataStruct())
{
}

void FlatWing::showEvent(QShowEvent* event)
{
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous()) {
        QWidget::showEvent(event);
        return;
    }
    m_setupCount = 0;
    lastMousePos = QPoint(0, 0);
    m_panX = 0;
    m_panY = 0;
    m_selected = -1;
    baseOffset = QPointF(50, 0);
    m_translation = QPointF(50, 0);
    m_scale = 1.0;
    repaint();
    QWidget::showEvent(event);
}

void FlatWing::Setup_Flatwing(QPointF o)
{
    ++m_setupCount;
    origin = o;
    shift = GetCanopyShift();
    Refresh_Outline();
    fitView();
    repaint();
}

QRectF FlatWing::drawingExtent() const
{
    if (m_setupCount <= 0 || design->ribAirfoils[0].isEmpty())
        return QRectF();
    // The plan with its control points, the row letters left of it, the
    // chord lengths standing above it, the meta centre's and the cell
    // widths' texts right of and below it.
    QRectF plan = QPolygonF(QList<QPointF>(controlPoints, controlPoints + 8)).boundingRect();
    plan = plan.adjusted(-50, -75, 170, 45);
    return plan.united(summaryBlock());
}

QFont FlatWing::summaryFont() const
{
    QFont font = this->font();
    font.setBold(true);
    font.setItalic(true);
    font.setPointSize(14);
    return font;
}

QList<FlatWing::SummaryLine> FlatWing::summaryLines() const
{
    const QString texts[6] = {
        QStringLiteral("FLAT area [m2]: %1 ").arg(design->flatArea, 5, 'f', 2),
        QStringLiteral("Aspect ratio: %1 ").arg(design->flatAspectRatio, 4, 'f', 2),
        QStringLiteral("Total number of ribs: %1 ").arg(design->cells),
        QStringLiteral("Total span [m]: %1").arg(design->span, 4, 'f', 2),
        QStringLiteral(" span/2 [m]: %1").arg(design->span / 2, 4, 'f', 2),
        QStringLiteral(" aver. wing depth [m]: %1").arg(design->meanChord, 4, 'f', 2),
    };
    // Below the trailing edge stand the rib numbers and, up to four lines
    // of the rib labels' face down, the cell widths; the figures start a
    // line below those, at the plan's left edge, in two columns of three.
    const QRectF plan = QPolygonF(QList<QPointF>(controlPoints, controlPoints + 8)).boundingRect();
    QFont ribFont = font();
    ribFont.setPointSize(10);
    const QFontMetricsF ribs(ribFont);
    const QFontMetricsF metrics(summaryFont());
    const double top = plan.bottom() + 5 * ribs.height() + metrics.ascent();
    double firstColumn = 0;
    for (int k = 0; k < 3; ++k)
        firstColumn = std::max(firstColumn, metrics.horizontalAdvance(texts[k]));
    QList<SummaryLine> lines;
    for (int k = 0; k < 6; ++k) {
        const double x = plan.left() + (k < 3 ? 0 : firstColumn + metrics.horizontalAdvance(QStringLiteral("MM")));
        lines.append({QPointF(x, top + (k % 3) * metrics.lineSpacing()), texts[k]});
    }
    return lines;
}

QRectF FlatWing::summaryBlock() const
{
    if (m_setupCount <= 0)
        return QRectF();
    const QFontMetricsF metrics(summaryFont());
    QRectF block;
    for (const SummaryLine& line : summaryLines())
        block |= QRectF(line.at.x(), line.at.y() - metrics.ascent(), metrics.horizontalAdvance(line.text),
                        metrics.height());
    return block;
}

void FlatWing::fitView()
{
    // The whole plan with its texts below the header lines, filling the
    // view (a maximized window shows it larger, up to the wheel's largest
    // zoom); the pan is what moves it from where the shift puts it.
    const QRectF drawing = drawingExtent();
    const QRectF area = QRectF(rect()).adjusted(8, 60, -8, -8);
    if (drawing.isEmpty() || area.isEmpty())
        return;
    const ViewFit fit = Fit_In(drawing, area, 2.0);
    m_scale = std::clamp(fit.zoom, 0.25, 2.0);
    m_panX = fit.offset.x() - shift.x();
    m_panY = fit.offset.y() - shift.y();
    m_translation = QPointF(m_panX + shift.x(), m_panY + shift.y());
}

void FlatWing::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitView();
}

QPointF FlatWing::GetCanopyShift()
{
    // The points stay where the design has them; the view moves the plan
    // to the origin. (Moved into the design they would move the whole
    // wing by a distance of the screen's size.)
    design->GetCanopyPos(controlPoints);
    return (origin - controlPoints[4]) + baseOffset;
}

double FlatWing::calcMinCellWidth() const
{
    return Min_Cell_Width(*design);
}

void FlatWing::MoveSelectedPoint(int i, int dx, int dy)
{
    if (i == 4 || i < 0 || i > 7)
        return;
    controlPoints[i].ry() += dy;
    if (i != 0 && i != 3 && i != 7)
        controlPoints[i].rx() += dx;
    Refresh_Outline();
}

void FlatWing::transformPainter(QPainter& painter)
{
    painter.translate(m_translation);
    painter.scale(m_scale, m_scale);
}

void FlatWing::paintEvent(QPaintEvent*)
{
    if (m_setupCount <= 0 || design->ribAirfoils[0].isEmpty())
        return;
    m_translation = QPointF(m_panX + shift.x(), m_panY + shift.y());
    QPainter painter(this);
    frame = rect();

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(frame);

    painter.setPen(QPen(Qt::black, 1));
    painter.drawText(QPointF(10, 25), QStringLiteral("  minimum cell width: %1 [cm]").arg(calcMinCellWidth(), 0, 'f', 1));
    painter.setPen(QPen(Qt::black, 2));
    painter.drawText(QPointF(350, 50), QStringLiteral(" file name: %1").arg(design->projectName));

    transformPainter(painter);
    painter.save();
    Paint_TextData(&painter);
    PaintFlatWing(&painter);
    pp_Ribs_Globs_Lines(design, &painter, true, true, true);
    Paint_GlobGraph(&painter);
    drawCoordinates(&painter);
    painter.restore();
}

void FlatWing::Refresh_Outline()
{
    if (m_setupCount <= 0)
        return;
    Apply_PlanOutline(design, controlPoints);
}

void FlatWing::Paint_TextData(QPainter* painter)
{
    const QFont own = painter->font();
    painter->setFont(summaryFont());
    painter->setPen(QPen(Qt::darkGray, 1));
    for (const SummaryLine& line : summaryLines())
        painter->drawText(line.at, line.text);
    painter->setFont(own);
    if (m_selected >= 0 && m_selected < 8) {
        const QPointF p = controlPoints[m_selected];
        painter->setPen(QPen(Qt::red, 1));
        painter->drawText(QPointF(p.x() + 20, p.y()),
                          QStringLiteral("[%1,%2]").arg(p.x(), 0, 'f', 1).arg(p.y(), 0, 'f', 1));
    }
}

void FlatWing::PaintFlatWing(QPainter* painter)
{
    QFont font = painter->font();
    font.setBold(true);
    font.setItalic(false);
    font.setPointSize(8);
    painter->setFont(font);
    Paint_Cntrl(painter);
    const QPointF* P = controlPoints;
    painter->setPen(QPen(Qt::red, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawPolyline(Bezier_FourPoints(P[0], P[1], P[2], P[3]));
    painter->drawPolyline(Bezier_FourPoints(P[4], P[5], P[6], P[7]));
    painter->setPen(QPen(Qt::black, 1));
    const double centre = Centre_Chord(*design, P);
    const double tip = Tip_Chord(*design, P);
    DrawVerticalText(painter, QStringLiteral("%1").arg(centre, 4, 'f', 2),
                     QPointF((P[0].x() + P[4].x()) / 2 + 10, (P[0].y() + P[4].y()) / 2));
    DrawVerticalText(painter, QStringLiteral("%1").arg(tip, 4, 'f', 2),
                     QPointF((P[3].x() + P[7].x()) / 2 + 20, (P[3].y() + P[7].y()) / 2));
    const int y4 = int(P[4].y());
    painter->drawLine(0, y4, 1000, y4);
}

void FlatWing::Paint_Cntrl(QPainter* painter)
{
    painter->setPen(QPen(Qt::black, 2));
    for (int i = 0; i < 8; ++i) {
        const QPointF p = controlPoints[i];
        painter->setBrush(i == m_selected ? Qt::white : Qt::green);
        painter->drawEllipse(QRectF(p.x() - 10, p.y() - 10, 20, 20));
        painter->drawText(p, QString::number(i));
    }
    painter->setBrush(Qt::NoBrush);
}

void FlatWing::Paint_GlobGraph(QPainter* painter)
{
    if (!showChordGraph)
        return;
    QPolygonF graph;
    const double y4 = controlPoints[4].y();
    for (int r = std::max(design->firstRib, 0); r <= design->lastRib && r < kRibSlots; ++r)
        graph << QPointF(design->ribSpanPos[r], design->leadingEdgeX[r] - design->trailingEdgeX[r] + y4);
    painter->setPen(QPen(Qt::blue, 3, Qt::DotLine));
    painter->drawPolyline(graph);
    painter->drawText(graph.isEmpty() ? QPointF(0, 0) : graph.last(), QStringLiteral("  wing depth "));
}

void FlatWing::drawCoordinates(QPainter* painter)
{
    const QPointF* P = controlPoints;
    const int x0 = int(P[0].x());
    const int x3 = int(P[3].x());
    const int y0 = int(P[0].y());
    const int y4 = int(P[4].y());
    painter->setPen(QPen(Qt::blue, 1));
    painter->drawLine(x0, y0, x3, y0);
    painter->drawLine(x0, y4, x3, y4);
    painter->drawLine(x0, y0, x0, y4);
    painter->drawLine(x3, y0, x3, y4);
    painter->setPen(QPen(Qt::red, 1));
    painter->drawLine(P[0], P[1]);
    painter->drawLine(P[3], P[2]);
    painter->drawLine(P[4], P[5]);
    painter->drawLine(P[7], P[6]);
}

void FlatWing::mousePressEvent(QMouseEvent* event)
{
    pressed = true;
    moveCount = 0;
    m_selected = -1;
    lastMousePos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        m_selected = set_selected_button(lastMousePos, m_scale, m_translation, controlPoints);
        repaint();
    } else if (event->buttons() & Qt::RightButton) {
        lastMousePos = QPoint(0, 0);
        fitView();
        repaint();
    }
    if ((event->buttons() & Qt::MiddleButton) && !cursorOverridden) {
        QApplication::setOverrideCursor(Qt::SizeVerCursor);
        cursorOverridden = true;
    }
}

void FlatWing::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed)
        return;
    ++moveCount;
    if (moveCount % 3 != 0)
        return;
    const QPoint pos = event->position().toPoint();
    const QPoint delta = pos - lastMousePos;
    lastMousePos = pos;
    if (event->buttons() & Qt::LeftButton) {
        if (m_selected == -1)
            return;
        MoveSelectedPoint(m_selected, delta.x(), delta.y());
    } else if (event->buttons() & Qt::MiddleButton) {
        m_panY += delta.y();
        m_translation = QPointF(m_panX + shift.x(), m_panY + shift.y());
    }
    repaint();
}

void FlatWing::mouseReleaseEvent(QMouseEvent*)
{
    if (cursorOverridden) {
        QApplication::restoreOverrideCursor();
        cursorOverridden = false;
    }
    pressed = false;
    moveCount = 0;
    update();
}

void FlatWing::wheelEvent(QWheelEvent* event)
{
    m_scale = std::min(2.0, std::max(0.25, m_scale * std::pow(2.0, event->angleDelta().y() / 960.0)));
    repaint();
}

void FlatWing::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: MoveSelectedPoint(m_selected, -1, 0); break;
    case Qt::Key_Up: MoveSelectedPoint(m_selected, 0, -1); break;
    case Qt::Key_Right: MoveSelectedPoint(m_selected, 1, 0); break;
    case Qt::Key_Down: MoveSelectedPoint(m_selected, 0, 1); break;
    default: break;
    }
    repaint();
}

void FlatWing::FlatWingShape_DXF()
{
    const GlobClass* glob = GetGlobClass();
    const QString name = QString::fromLatin1(FlatWingDxfFileName());
    // Without a project there is no output directory: nothing is written
    // rather than a file in the filesystem root.
    if (glob->dxfDir.isEmpty()) {
        Show_Warning(QStringLiteral("Export to DXF"),
                     QStringLiteral("No project is open: there is no output directory for \"%1\".").arg(name));
        return;
    }
    if (Write_Sheet(FlatWing_Sheet(*design, font(), 30), glob->dxfDir, name) != 0)
        Show_Warning(QStringLiteral("Export to DXF"),
                     QStringLiteral("Could not write %1").arg(glob->dxfDir + QLatin1Char('/') + name));
}

// --- The dialog ------------------------------------------------------------

FlatWingDialog::FlatWingDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::flatwingdialog>()), design(GetDataStruct()), session(new EditSession(this))
{
    ui->setupUi(this);
}

FlatWingDialog::~FlatWingDialog() = default;

FlatWing* FlatWingDialog::flatWing() const
{
    return ui->flatwingwidget;
}

void FlatWingDialog::showEvent(QShowEvent* event)
{
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
    InitFlatWingDialog();
    ui->flatwingwidget->Setup_Flatwing(QPointF(originX, originY));
    QDialog::showEvent(event);
}

void FlatWingDialog::InitFlatWingDialog()
{
    {
        // Showing the step is no change of it.
        const QSignalBlocker quiet(ui->cellwidthSlider);
        ui->cellwidthSlider->setValue(design->cellWidthStep);
    }
    ui->ribspinBox->setRange(0, design->lastRib);
    ribIndex = 0;
    ui->ribshiftSlider->setValue(0);
    ui->proportLabel->setText(QStringLiteral(" %1").arg(design->cellWidthStep));
    originX = 60.0;
    QScreen* screen = QGuiApplication::screens().value(0);
    originY = 0.65 * (screen ? screen->geometry().bottom() : 600);
}

void FlatWingDialog::on_cellwidthSlider_valueChanged(int v)
{
    ui->cellwidthSlider->setValue(v);
    design->cellWidthStep = v;
    ui->proportLabel->setText(QStringLiteral(" %1").arg(v));
    design->CalcFlatWingtip();
    ui->flatwingwidget->Refresh_Outline();
    ui->flatwingwidget->repaint();
}

void FlatWingDialog::on_ribspinBox_valueChanged(int v)
{
    ribIndex = v;
}

void FlatWingDialog::on_ribshiftSlider_sliderMoved(int v)
{
    if (!(ribIndex > 1 && ribIndex < design->lastRib && ribIndex < kRibSlots))
        return;
    ui->ribshiftlabel->setText(QStringLiteral("%1").arg(v));
    design->ribShift[ribIndex] = v;
    ui->flatwingwidget->Refresh_Outline();
    ui->flatwingwidget->repaint();
}

void FlatWingDialog::on_resetButton_pressed()
{
    if (!Break_Question(QStringLiteral("resetting value"), QStringLiteral("OK to do this ?")))
        return;
    // As the slider moved to 0 by hand: the outline follows it.
    ui->cellwidthSlider->setValue(0);
}

void FlatWingDialog::on_printButton_pressed()
{
    FlatWing* w = ui->flatwingwidget;
    w->showChordGraph = false;
    w->update();
    if (Break_Question(QStringLiteral(" Export to DXF ?"), QStringLiteral("OK/Cancel")))
        w->FlatWingShape_DXF();
    Print_Widget(w);
    w->showChordGraph = true;
}

void FlatWingDialog::on_buttonBox_accepted()
{
    if (session->changed())
        Apply_Edit(design, DesignEdit::Wing);
    hide();
}

void FlatWingDialog::on_buttonBox_rejected()
{
    session->revert();
    hide();
}

void FlatWingDialog::closeEvent(QCloseEvent* event)
{
    session->revert();
    QDialog::closeEvent(event);
}
