#include "lines/ui/bridleview.h"
#include "widgets/widgetinteraction.h"

#include "core/parastruct.h"
#include "core/skintension.h"
#include "core/transf.h"
#include "lines/lineplan.h"
#include "widgets/uihelpers.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTransform>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinScale = 0.1;
constexpr double kMaxScale = 20.0;
constexpr double kPickReach = 7.0;   // a press this close to a frame point picks no node
constexpr int kPageHeight = 768;
constexpr int kHeadingLeft = 102;
constexpr int kHeadingCentre = 512;
constexpr int kSheetWidth = 1024;      // the sheet the heading is laid out on
constexpr double kHeadingBand = 60.0;  // the heading's height on a printed sheet
constexpr double kPrintMargin = 10.0;
// The rib numbers stand above the frame: the lines leave the frame
// downwards, and their labels stand below it.
constexpr double kRibNumberLift = 13.0; // rib numbers' base line above the first row
constexpr double kNodeRadius = 5.0;     // the white ring of a line end
// Room a line needs for its label beside it: the label's length and a
// little more, at least this much.
constexpr double kShortestLine = 40.0;
constexpr double kLabelRoom = 14.0;

void circle(QPainter& p, QPointF c, double diameter, const QColor& fill)
{
    p.setBrush(fill);
    p.drawEllipse(c, diameter / 2, diameter / 2);
}

QPen cosmetic(const QColor& color, Qt::PenStyle style = Qt::SolidLine, int width = 0)
{
    QPen pen(color, width, style);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

BridleView::BridleView(QWidget* parent)
    : QWidget(parent), design(GetDataStruct()), copy(std::make_unique<BridleData>())
{
    QFont f("Times");
    f.setPixelSize(12);
    f.setBold(true);
    setFont(f);
    connect(this, &QWidget::customContextMenuRequested, this, &BridleView::ShowContextMenu);
}

BridleView::~BridleView() = default;

QStringList BridleView::labels() const
{
    QStringList out;
    for (const GraphRec& rec : current.graph)
        out << Bridle_Table_Label(rec, slot == kBrakeGroupSlot);
    return out;
}

void BridleView::getLineGrupData()
{
    *copy = design->bridle;
    slot = get_curr_bridle_grup(lineSelection);
    current = BridleTable();
    if (slot < 0) {
        update();
        return;
    }
    BridleGroup& g = copy->groups[slot];
    Rebuild_Group_Lists(&g);
    // The relaxation printed beside the brake lines follows the brake
    // settings as they are now.
    Calculate_RelaxLengths(design);
    current = Bridle_Table(design, g, slot == kBrakeGroupSlot);
    dragged = -1;
    layOut();
    update();
}

void BridleView::layOut()
{
    // The lines to the frame are as long as their longest label needs to
    // stand beside them below the frame, the others as long as theirs.
    const QFontMetricsF metrics(labelFont());
    const bool brakes = slot == kBrakeGroupSlot;
    double leafDrop = kShortestLine, levelStep = kShortestLine;
    for (const GraphRec& rec : std::as_const(current.graph)) {
        if (rec.end < 0 || rec.end >= current.onFrame.size())
            continue;
        const double room = metrics.horizontalAdvance(Bridle_Table_Label(rec, brakes)) + kLabelRoom;
        if (current.onFrame.at(rec.end))
            leafDrop = std::max(leafDrop, room + kNodeRadius);
        else
            levelStep = std::max(levelStep, room);
    }
    Lay_Out_Bridle_Table(&current, labelsBelow(), leafDrop, levelStep);
    placeLabels();
}

void BridleView::placeLabels()
{
    const QFontMetricsF metrics(labelFont());
    const bool brakes = slot == kBrakeGroupSlot;
    QList<QSizeF> sizes;
    for (const GraphRec& rec : std::as_const(current.graph))
        sizes.append(QSizeF(metrics.horizontalAdvance(Bridle_Table_Label(rec, brakes)), metrics.height()));
    places = Bridle_Table_Labels(current, sizes, labelsBelow(), kNodeRadius);
}

QString BridleView::emptyHint()
{
    return QStringLiteral("Choose a line group (L1 .. L4 or BR) on the \"bridle model\" tab: its table is drawn here.");
}

void BridleView::activate_widget()
{
    if (get_curr_bridle_grup(lineSelection) < 0)
        return;
    getLineGrupData();
}

void BridleView::ShowContextMenu(const QPoint& pos)
{
    QMenu menu(this);
    QAction* print = menu.addAction("print his page");
    if (Popup_Menu(&menu, mapToGlobal(pos)) == print)
        printPage();
}

void BridleView::printPage()
{
    // The whole table goes on the page whatever the zoom and the panning on
    // the screen: the heading on top, below it everything the drawing holds
    // (frame, rib numbers, lines and their labels, nodes where they were
    // dragged to). The sheet paints itself onto the printer, so that its
    // labels stay text.
    const QRectF drawing = drawingExtent();
    const double width = std::max(drawing.width() + 2 * kPrintMargin, double(kSheetWidth));
    const double height = kHeadingBand + drawing.height() + 2 * kPrintMargin;
    const QSize sheet(int(std::ceil(width)), int(std::ceil(height)));
    Print_Drawing(sheet, [this, drawing, sheet](QPainter* painter) {
        QPainter& p = *painter;
        if (slot < 0 || design->ribAirfoils[0].isEmpty())
            return;
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(cosmetic(Qt::black));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0, 0, sheet.width() - 1, sheet.height() - 1));
        paintHeading(p);
        // The drawing centred under the heading.
        const double left = (sheet.width() - drawing.width()) / 2;
        p.translate(left - drawing.left(), kHeadingBand + kPrintMargin - drawing.top());
        p.setClipRect(drawing);
        paintDrawing(p);
        p.restore();
    });
}

QRectF BridleView::drawingExtent() const
{
    QRectF extent = frameExtent();
    for (const QPoint& node : current.nodes)
        extent |= QRectF(node - QPointF(kNodeRadius, kNodeRadius), QSizeF(2 * kNodeRadius, 2 * kNodeRadius));
    for (const TableLabel& label : places)
        if (!label.box.isNull())
            extent |= label.box;
    return extent;
}

QRectF BridleView::frameExtent() const
{
    const int tip = std::min(design->lastRib, kBridleRibs - 1);
    const QPoint tipTop = Bridle_Table_Frame_Point(design, tip, 0, false);
    const int left = Bridle_Table_Frame_Point(design, tip, 0, true).x();
    const int bottom = Bridle_Table_Frame_Point(design, tip, kBrakeSlot, false).y();
    const QFontMetricsF metrics(labelFont());
    const double numbers = tipTop.y() - kRibNumberLift - metrics.ascent();
    const double right = tipTop.x() + metrics.horizontalAdvance(QString::number(tip)) / 2;
    return QRectF(QPointF(left - 10, numbers), QPointF(std::max(right, tipTop.x() + 9.0), bottom + 19));
}

bool BridleView::nearFramePoint(QPoint p) const
{
    const double reach = kPickReach / s;
    for (int r = std::max(design->firstRib, 0); r <= std::min(design->lastRib, kBridleRibs - 1); ++r) {
        for (int slotIndex = 0; slotIndex < kLaidOutSlots; ++slotIndex) {
            if (intDist2(Bridle_Table_Frame_Point(design, r, slotIndex, false), p) <= reach)
                return true;
            if (r != 0 && intDist2(Bridle_Table_Frame_Point(design, r, slotIndex, true), p) <= reach)
                return true;
        }
    }
    return false;
}

void BridleView::mousePressEvent(QMouseEvent* event)
{
    lastPos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const QPoint at(int(std::lround((lastPos.x() - std::trunc(tx)) / s)),
                        int(std::lround((lastPos.y() - std::trunc(ty)) / s)));
        if (!nearFramePoint(at)) {
            dragged = -1;
            double best = 0.0;
            for (int i = 0; i < current.nodes.size(); ++i) {
                const double d = intDist2(current.nodes.at(i), at);
                if (dragged < 0 || d <= best) {
                    best = d;
                    dragged = i;
                }
            }
        }
        update();
    }
}

void BridleView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint d = pos - lastPos;
    lastPos = pos;
    if ((event->buttons() & Qt::LeftButton) && dragged >= 0 && dragged < current.nodes.size()) {
        current.nodes[dragged] += d;
        placeLabels();
        update();
    } else if (event->buttons() & Qt::MiddleButton) {
        tx += d.x();
        ty += d.y();
        update();
    }
}

void BridleView::mouseReleaseEvent(QMouseEvent* event)
{
    dragged = -1;
    lastPos = event->position().toPoint();
    update();
}

void BridleView::wheelEvent(QWheelEvent* event)
{
    s = std::clamp(s * std::pow(2.0, event->angleDelta().y() / 960.0), kMinScale, kMaxScale);
    update();
}

void BridleView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintSheet(painter);
}

QFont BridleView::labelFont()
{
    QFont text("Times");
    text.setPixelSize(10);
    text.setWeight(QFont::Normal);
    return text;
}

void BridleView::paintSheet(QPainter& p)
{
    if (slot < 0) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect().adjusted(10, 10, -10, -10), Qt::AlignCenter | Qt::TextWordWrap, emptyHint());
        return;
    }
    if (design->ribAirfoils[0].isEmpty())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(labelFont());
    p.setPen(cosmetic(Qt::black));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // Under the project path, clear of the heading's large letters.
    p.drawText(QPointF(kHeadingLeft, 51), QString(" scale: %1").arg(s, 0, 'f', 2));
    // The heading stays where it is whatever the zoom.
    paintHeading(p);
    p.translate(tx, ty);
    p.scale(s, s);
    paintDrawing(p);
    p.restore();
}

void BridleView::paintHeading(QPainter& p) const
{
    const bool brakes = slot == kBrakeGroupSlot;
    p.save();
    // 15 points of the screen, also on a printer, whose points are finer.
    QFont heading = QApplication::font();
    heading.setPixelSize(int(std::lround(15 * logicalDpiY() / 72.0)));
    heading.setBold(true);
    p.setFont(heading);
    p.setPen(cosmetic(Qt::black));
    // A long project path would run into the title: it gives up its middle.
    const QString path = QFontMetrics(heading, p.device())
                             .elidedText(GetGlobClass()->prgPath, Qt::ElideMiddle,
                                         kHeadingCentre - kHeadingLeft - 60);
    p.drawText(QPointF(kHeadingLeft, 34), QString("[ %1 ]").arg(path));
    // The legend says what the numbers on the lines are: metres rounded to
    // 5 mm, and kilograms of one wing half.
    if (brakes) {
        p.drawText(QPointF(kHeadingCentre, 34), "BRAKES TABLE: " + GrupLineLetter(7));
        p.setFont(labelFont());
        p.drawText(QPointF(kHeadingCentre, 51), "last level: length + relaxation = [length to cut, m]");
    } else {
        p.drawText(QPointF(kHeadingCentre, 34), "BRIDLE TABLE  group line:  " + GrupLineLetter(slot + 1));
        p.setFont(labelFont());
        p.drawText(QPointF(kHeadingCentre, 51), "[..length..m]  <..loading..kg>");
    }
    p.restore();
}

void BridleView::paintDrawing(QPainter& p) const
{
    const bool brakes = slot == kBrakeGroupSlot;
    p.setFont(labelFont());

    // The frame, its bounds taken from the tip rib.
    const int first = std::max(design->firstRib, 0);
    const int tip = std::min(design->lastRib, kBridleRibs - 1);
    const QPoint tipTop = Bridle_Table_Frame_Point(design, tip, 0, false);
    const int left = Bridle_Table_Frame_Point(design, tip, 0, true).x();
    const int right = tipTop.x();
    const int top = tipTop.y();
    const int bottom = Bridle_Table_Frame_Point(design, tip, kBrakeSlot, false).y();
    const double centre = (left + right) / 2.0;
    p.setPen(cosmetic(Qt::white, Qt::DotLine));
    p.drawRect(QRectF(QPointF(left - 10, top - 10), QPointF(right + 9, bottom + 19)));
    for (int row = 0; row < kLaidOutSlots; ++row) {
        const int y = Bridle_Table_Frame_Point(design, tip, row, false).y();
        p.setPen(cosmetic(Qt::black));
        p.drawText(QPointF(centre - 20, y), LineLetter(Frame_Slot_Row(row)));
        p.setPen(row < 4 ? cosmetic(Qt::blue) : cosmetic(Qt::white, Qt::DotLine));
        p.drawLine(QPointF(left, y), QPointF(right, y));
    }
    p.setPen(cosmetic(Qt::blue, Qt::DotLine));
    // From the frame down: above it stand the rib numbers.
    p.drawLine(QPointF(centre, top - 10), QPointF(centre, kPageHeight));
    for (int r = first; r <= tip; ++r) {
        const int x = Bridle_Table_Frame_Point(design, r, 0, false).x();
        p.setPen(design->isLoadedRib(r) ? cosmetic(Qt::blue) : cosmetic(Qt::black, Qt::DotLine));
        p.drawLine(QPointF(x, top), QPointF(x, bottom));
        p.setPen(cosmetic(Qt::black));
        const QString number = QString::number(r);
        p.drawText(QPointF(x - QFontMetricsF(labelFont()).horizontalAdvance(number) / 2, top - kRibNumberLift), number);
    }
    p.setPen(cosmetic(Qt::lightGray));
    for (int side = 0; side < 2; ++side) {
        for (int row = 0; row < kLaidOutSlots; ++row) {
            for (int r = first; r <= tip; ++r) {
                if (side == 1 && r == 0)
                    continue;
                const QPointF pt = Bridle_Table_Frame_Point(design, r, row, side == 1);
                circle(p, pt, 8, Qt::lightGray);
                circle(p, pt, 4, Qt::white);
            }
        }
    }

    // The lines, then their labels where the placing put them.
    for (const GraphRec& rec : current.graph) {
        if (rec.start < 0 || rec.end < 0)
            continue;
        const QPointF P = current.nodes.at(rec.start);
        const QPointF Q = current.nodes.at(rec.end);
        p.setPen(cosmetic(Qt::blue));
        p.drawLine(P, Q);
        circle(p, P, 2 * kNodeRadius, Qt::white);
        circle(p, Q, 2 * kNodeRadius, Qt::white);
        circle(p, P, 4, Qt::blue);
        circle(p, Q, 4, Qt::blue);
    }
    p.setPen(cosmetic(Qt::black));
    for (int k = 0; k < current.graph.size() && k < places.size(); ++k) {
        const TableLabel& label = places.at(k);
        if (label.box.isNull())
            continue;
        const QString text = Bridle_Table_Label(current.graph.at(k), brakes);
        p.save();
        p.translate(label.box.center());
        if (label.turned)
            p.rotate(-90);
        const QSizeF size = label.turned ? label.box.size().transposed() : label.box.size();
        p.drawText(QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), Qt::AlignCenter, text);
        p.restore();
    }
}

double BridleView::labelsBelow() const
{
    return frameExtent().bottom();
}
