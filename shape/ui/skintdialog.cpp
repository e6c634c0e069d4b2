#include "shape/ui/skintdialog.h"
#include "widgets/editsession.h"

#include "ui_skintdialog.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "widgets/uihelpers.h"
#include "core/billowarc.h"
#include "core/canopy.h"
#include "core/cellgrid.h"
#include "core/skintension.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QSlider>
#include <QSpinBox>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

QPolygonF rect_to_triangle(QRectF r)
{
    QPolygonF t;
    t << r.topLeft() << r.topRight() << QPointF(r.center().x(), r.bottom()) << r.topLeft();
    return t;
}

namespace {
QPointF foilPoint(const QPolygonF& foil, int i)
{
    return (i >= 0 && i < foil.size()) ? foil.at(i) : QPointF();
}
} // namespace

// --- The marker strip ----------------------------------------------------------

SkintEdit::SkintEdit(QWidget* parent)
    : QWidget(parent), design(GetDataStruct())
{
    // the form's style sheet gives the strip its background colour
    setAttribute(Qt::WA_StyledBackground, true);
}

void SkintEdit::showEvent(QShowEvent* event)
{
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous()) {
        QWidget::showEvent(event);
        return;
    }
    initSkintEdit();
    Billow_Compensation();
    wheelScale = 7.0;
    repaint();
    QWidget::showEvent(event);
}

void SkintEdit::set_curr_rib(int rib)
{
    currentRib = std::max(rib, 1);
    repaint();
}

void SkintEdit::initSkintEdit()
{
    const QRect r = rect();
    W = r.right() - r.left();
    H = r.bottom() - r.top();
    QFont f = font();
    f.setPixelSize(12);
    f.setBold(true);
    const QRect xr = QFontMetrics(f).boundingRect(QStringLiteral("X"));
    cw = xr.right() - xr.left();
    w1 = 0.95 * W;
    h1 = 0.7 * H;
    m = 0.005 * w1;
    x0 = w1 - m;
    A = x0 - m;
    if (A <= 0)
        A = 1;
    yc = 0.85 * h1;
    dy = 0.1 * h1;
    for (int i : {1, 2, 4, 5})
        design->skinControlMarkers[i] = QPointF(pos(design->skinControlIndex[i]), yc + 2 * dy);
    design->skinControlMarkers[3] = QPointF(pos(design->skinControlIndex[3]), yc - 2 * dy);
}

int SkintEdit::find_j_pos(double x) const
{
    const long j = std::lround(999.0 * (x0 - x) / A);
    return int(std::clamp<long>(j, 0, 999));
}

void SkintEdit::Control_Skint_Pos_Index(int i)
{
    if (i < 1 || i > 5)
        return;
    Limit_Skin_Marker(design, i);
    const IndexRange range = Skin_Marker_Range(*design, i);
    QPointF& marker = design->skinControlMarkers[i];
    marker.setX(std::max(pos(range.hi), std::min(pos(range.lo), marker.x())));
}

void SkintEdit::MoveButton(int i, double x)
{
    if (i < 1 || i > 5)
        return;
    design->skinControlMarkers[i].setX(x);
    design->skinControlIndex[i] = find_j_pos(x);
    Control_Skint_Pos_Index(i);
    // The billow is worked out on the wing the moved marker makes.
    Apply_Edit(design, DesignEdit::Wing);
    Billow_Compensation();
}

void SkintEdit::select_button()
{
    selectedMarker = 0;
    for (int i = 1; i <= 5; ++i)
        if (Dist2(design->skinControlMarkers[i], QPointF(mousePos)) < 16) {
            selectedMarker = i;
            return;
        }
}

void SkintEdit::BillowInfo()
{
    const int j = find_j_pos(mousePos.x());
    const int rib = std::clamp(currentRib, 0, kRibSlots - 1);
    const QString text = QStringLiteral(" W: %1 [mm] \n  H-Thick:%2 [mm] \n  B.C.: %3 [mm]")
                             .arg(1000 * design->R_X(design->cellWidth[rib]), 4, 'f', 0)
                             .arg(1000 * design->R_X(find_Thick(design, rib, j)), 4, 'f', 0)
                             .arg(10 * f_skin_norma_tension(design, rib, j), 3, 'f', 1);
    showToolTip(mapToGlobal(mousePos), text);
}

void SkintEdit::Billow_Compensation()
{
    billow = ::Billow_Compensation(design);
}

void SkintEdit::mousePressEvent(QMouseEvent* event)
{
    mousePos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        select_button();
        if (selectedMarker != 0)
            repaint();
    } else if (event->button() == Qt::RightButton) {
        rightButtonDown = true;
        BillowInfo();
        repaint();
    }
}

void SkintEdit::mouseMoveEvent(QMouseEvent* event)
{
    mousePos = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && selectedMarker != 0) {
        MoveButton(selectedMarker, mousePos.x());
        repaint();
    } else if (event->buttons() & Qt::RightButton) {
        BillowInfo();
        repaint();
    }
}

void SkintEdit::mouseReleaseEvent(QMouseEvent*)
{
    rightButtonDown = false;
    // A moved marker was applied as it moved.
    repaint();
}

void SkintEdit::keyPressEvent(QKeyEvent* event)
{
    if (selectedMarker >= 1 && selectedMarker <= 5) {
        const double x = design->skinControlMarkers[selectedMarker].x();
        if (event->key() == Qt::Key_Left)
            MoveButton(selectedMarker, x - 2);
        else if (event->key() == Qt::Key_Right)
            MoveButton(selectedMarker, x + 2);
    }
    repaint();
}

void SkintEdit::wheelEvent(QWheelEvent* event)
{
    wheelScale *= event->angleDelta().y() > 0 ? 1.5 : 0.5;
    wheelScale = std::max(1.0, wheelScale);
    update();
}

void SkintEdit::paintEvent(QPaintEvent*)
{
    if (design->ribAirfoils[0].isEmpty())
        return;
    initSkintEdit();
    QPainter painter(this);
    QFont f = font();
    f.setPixelSize(12);
    f.setBold(true);
    painter.setFont(f);
    PaintShema(&painter);
    Paint_PatternTension(&painter);
    if (rightButtonDown) {
        painter.setPen(QPen(Qt::cyan, 1));
        PaintInfoVertical(&painter, mousePos.x(), -1, false);
    }
    Paint_SkinTenPoints(&painter);
    paint_billow_line(&painter);
    Airfoil_Inflation(&painter);
}

void SkintEdit::PaintShema(QPainter* painter)
{
    const int nose = design->noseIndex[1];
    const int o1 = design->lineIndex[0][1];
    const int o2 = design->lineIndex[1][1];
    painter->setPen(QPen(Qt::blue, 1));
    painter->drawLine(QPointF(m, yc - dy), QPointF(x0, yc - dy));
    painter->drawLine(QPointF(m, yc + dy), QPointF(x0, yc + dy));
    for (int i : {1000, 0, o1, nose})
        painter->drawLine(QPointF(pos(i), yc - dy), QPointF(pos(i), yc + dy));
    painter->fillRect(QRectF(QPointF(pos(o2), yc - dy), QPointF(pos(o1), yc + dy)).normalized(), Qt::green);
    // Both ends' names inside the band, whatever the font's width.
    const QFontMetricsF metrics(painter->font());
    painter->drawText(QPointF(m + 4, yc), QStringLiteral("TE down"));
    painter->drawText(QPointF(x0 - 4 - metrics.horizontalAdvance(QStringLiteral("TE up")), yc), QStringLiteral("TE up"));
    painter->drawText(QPointF(pos(nose) - cw, yc), QStringLiteral("LE"));
    painter->drawText(QPointF(pos(o1) - cw, yc), QStringLiteral("O1"));
    painter->drawText(QPointF(pos(o2) - cw, yc), QStringLiteral("O2"));
    painter->setPen(QPen(Qt::cyan, 3));
    for (int i : {design->topIndex[1], design->bottomIndex[1]})
        painter->drawLine(QPointF(pos(i), yc - dy), QPointF(pos(i), yc + dy));
}

void SkintEdit::Paint_PatternTension(QPainter* painter)
{
    const int rib = std::clamp(currentRib, 0, kRibSlots - 1);
    QPolygonF base;
    for (int i = 0; i < 1000; ++i)
        base << QPointF(pos(i), 0);
    QPen cyan(Qt::cyan, 1, Qt::DotLine);
    painter->setPen(cyan);
    QPolygonF half = skint_dinamic(design, rib, 'H', wheelScale, base);
    half.translate(0, yc - dy);
    painter->drawPolyline(half);

    painter->setPen(QPen(Qt::red, 1, Qt::SolidLine));
    const QPolygonF R = skint_dinamic(design, rib, 'R', 1.0, base);
    QPolygonF upper;
    QPolygonF lower;
    for (const QPointF& p : R) {
        upper << QPointF(p.x(), p.y() * wheelScale + yc - dy);
        lower << QPointF(p.x(), -p.y() * wheelScale + yc + dy);
    }
    painter->drawPolyline(upper);
    painter->drawPolyline(lower);
}

void SkintEdit::PaintInfoVertical(QPainter* painter, double x, int marker, bool withText)
{
    const int ix = int(x);
    const double top = yc - 2 * dy - (marker == 3 ? 20 : 0);
    painter->drawLine(QPointF(ix, top), QPointF(ix, yc + 2 * dy));
    if (!withText)
        return;
    const QPolygonF& foil = design->ribAirfoils[std::clamp(currentRib, 0, kAirfoilSlots - 1)];
    const double percent = Chord_Percent(foil, design->noseIndex[0], find_j_pos(x));
    painter->drawText(QPointF(ix, top), QStringLiteral("%1 %").arg(percent, 0, 'f', 1));
    const QPen own = painter->pen();
    painter->setPen(QPen(Qt::cyan, 1));
    painter->drawText(QPointF(pos(design->noseIndex[1]), 0.5 * dy),
                      QStringLiteral("scale factor (wheel): %1[%]").arg(100 * wheelScale, 0, 'f', 0));
    painter->setPen(own);
}

void SkintEdit::Paint_SkinTenPoints(QPainter* painter)
{
    for (int i = 1; i <= 5; ++i) {
        const QPointF p = design->skinControlMarkers[i];
        paint_button(painter, p, i);
        painter->setPen(QPen(Qt::black, 0));
        PaintInfoVertical(painter, p.x(), i, true);
    }
}

void SkintEdit::paint_button(QPainter* painter, QPointF p, int i)
{
    painter->setPen(QPen(Qt::black, 0));
    if (i != 3) {
        painter->setBrush(Qt::lightGray);
        painter->drawEllipse(p, 13, 13);
        painter->setBrush(i == selectedMarker ? Qt::magenta : Qt::cyan);
        painter->drawEllipse(p, 10, 10);
        painter->drawText(QPointF(p.x(), p.y() + 25), QString::number(i));
    } else {
        painter->setBrush(Qt::red);
        painter->drawPolygon(rect_to_triangle(QRectF(p.x() - 13, p.y() - 13, 26, 26)));
        // Below the mark as the other markers' numbers: above it the
        // airfoil picture, drawn later, would cover it.
        painter->drawText(QPointF(p.x() - 12, p.y() + 25), QStringLiteral("Cut"));
    }
    painter->setBrush(Qt::NoBrush);
}

void SkintEdit::paint_billow_line(QPainter* painter)
{
    if (!billow.found())
        return;
    painter->setPen(QPen(Qt::red, 2, Qt::DotLine));
    painter->drawLine(QPointF(pos(billow.lineIndex), yc - dy), QPointF(pos(billow.lineIndex), yc + dy));
}

void SkintEdit::Airfoil_Inflation(QPainter* painter)
{
    const int first = std::clamp(design->firstRib, 0, kAirfoilSlots - 1);
    const QPolygonF& foil = design->ribAirfoils[first];
    if (foil.size() < 2)
        return;
    const int N = std::clamp(design->noseIndex[first], 0, int(foil.size()) - 1);
    const double span = foil.at(0).x() - foil.at(N).x();
    const double S = span != 0 ? int(0.8 * w1) / span : 1.0;
    QPolygonF F;
    for (const QPointF& p : foil)
        F << QPointF(p.x() * S, -p.y() * S + 270);
    const QPolygonF D = skint_dinamic(design, 1, 'D', 1.0, F);

    const bool folded = Nose_Folded(D, N);
    painter->setPen(QPen(Qt::blue, 0));
    painter->setBrush(folded ? Qt::red : Qt::cyan);
    painter->drawPolygon(D);

    painter->setBrush(Qt::lightGray);
    painter->drawPolygon(F);
    painter->setPen(QPen(Qt::green, 1));
    painter->drawEllipse(foilPoint(F, design->topIndex[first]), 5, 5);
    painter->drawEllipse(foilPoint(F, design->bottomIndex[first]), 5, 5);
    painter->setPen(QPen(Qt::cyan, 1));
    painter->drawEllipse(foilPoint(F, design->lineIndex[0][first]), 6, 6);
    painter->drawEllipse(foilPoint(F, design->lineIndex[1][first]), 6, 6);
    painter->setPen(QPen(Qt::black, 1));
    painter->drawEllipse(foilPoint(F, design->billowLineIndex), 2, 9);
    painter->setBrush(Qt::NoBrush);
    painter->drawText(CenterPoly(&F), QStringLiteral(" 2.5 x exaggerated"));
}

// --- The extension window ------------------------------------------------------------

ViewCross::ViewCross(QWidget* parent)
    : QDialog(parent), design(GetDataStruct())
{
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    initViewCross();
}

void ViewCross::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
}

void ViewCross::initViewCross()
{
    QFont f = font();
    f.setPixelSize(10);
    f.setBold(false);
    setFont(f);
    const QRect r = rect();
    const double W = r.right() - r.left();
    H = r.bottom() - r.top();
    w1 = 0.95 * W;
    X0 = 0.1 * w1;
    Y0 = 0.8 * H;
    gx = int(0.8 * w1);
    gy = int(0.8 * H);
}

void ViewCross::paintEvent(QPaintEvent*)
{
    if (design->ribAirfoils[0].isEmpty())
        return;
    initViewCross();
    QPainter painter(this);
    PaintCoordSystem(&painter);
    PolyribGraph(&painter);
}

void ViewCross::PaintCoordSystem(QPainter* painter)
{
    painter->setPen(QPen(Qt::black, 1));
    const double right = 0.9 * w1;
    const double top = -0.15 * H;
    painter->drawLine(QPointF(X0, Y0), QPointF(right, Y0));
    painter->drawLine(QPointF(X0, top), QPointF(right, top));
    painter->drawLine(QPointF(X0, Y0), QPointF(X0, top));
    painter->drawLine(QPointF(right, Y0), QPointF(right, top));
    painter->drawText(QPointF(X0 - 70, Y0 + 20), QStringLiteral("LE"));
    painter->drawText(QPointF(right + 40, Y0 + 20), QStringLiteral("TE"));
    QPen dotted(Qt::black, 0, Qt::DotLine);
    for (int i = 0; i < 10; ++i) {
        painter->setPen(dotted);
        const double x = X0 + gx * i / 10.0;
        painter->drawLine(QPointF(x, Y0), QPointF(x, Y0 - 2 * gy));
        const double y = Y0 - gy * i / 10.0;
        painter->drawLine(QPointF(X0, y), QPointF(X0 + gx, y));
        painter->setPen(QPen(Qt::black, 1));
        painter->drawText(QPointF(x, Y0 + 10), QStringLiteral("%1").arg(i / 10.0, 0, 'f', 2));
        painter->drawText(QPointF(X0 - 50, y), QStringLiteral("%1").arg(10 * i / 1.55, 0, 'f', 2) + QLatin1Char('%'));
    }
}

void ViewCross::PolyribGraph(QPainter* painter)
{
    const QPolygonF& foil = design->ribAirfoils[1];
    if (foil.size() < 2)
        return;
    const int N = std::clamp(design->noseIndex[1], 0, int(foil.size()) - 1);
    const double xN = foil.at(N).x();
    const double x0 = foil.at(0).x();
    const double denominator = x0 - xN;
    if (denominator == 0)
        return;
    auto sx = [&](int k, bool absolute) {
        const double d = absolute ? std::fabs(denominator) : denominator;
        return X0 + (foil.at(std::min<int>(k, foil.size() - 1)).x() - xN) * gx / d;
    };
    auto sy = [&](double p) { return Y0 - p * gy * v / 100; };

    QPolygonF theory;
    QPolygonF upper;
    for (int k = 0; k < N; k += 10) {
        theory << QPointF(sx(k, true), sy(Theory_RelativeExtension(k, design)));
        upper << QPointF(sx(k, true), sy(RelativeExtension(k, design)));
    }
    painter->setPen(QPen(Qt::green, 3));
    painter->drawPolyline(theory);
    if (!theory.isEmpty())
        painter->drawText(theory.last(), QStringLiteral(" ---THEORY--"));
    painter->setPen(QPen(Qt::magenta, 2));
    painter->drawPolyline(upper);
    if (!upper.isEmpty())
        painter->drawText(upper.first(), QStringLiteral("UPSIDE"));

    QPolygonF lower;
    for (int k = N; k <= 999; k += 10)
        lower << QPointF(sx(k, false), sy(RelativeExtension(k, design)));
    painter->setPen(QPen(Qt::blue, 2));
    painter->drawPolyline(lower);
    if (!lower.isEmpty())
        painter->drawText(lower.last() - QPointF(10, 0), QStringLiteral("LOWER SIDE"));

    const double width = design->R_X(design->cellWidth[1]);
    if (width != 0) {
        QPolygonF tension;
        for (int k = 0; k < N; ++k)
            tension << QPointF(sx(k, false), sy(2 * f_skin_norma_tension(design, 1, k) / width));
        painter->setPen(QPen(Qt::white, 0, Qt::DotLine));
        painter->drawPolyline(tension);
    }
}

// --- The dialog --------------------------------------------------------------------

SkintDialog::SkintDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::skintdialog>()), design(GetDataStruct()),
      session(new EditSession(this))
{
    ui->setupUi(this);
    connect(this, &SkintDialog::to_skinedit, ui->skintedit_widget, &SkintEdit::set_curr_rib);
}

SkintDialog::~SkintDialog() = default;

SkintEdit* SkintDialog::editor() const
{
    return ui->skintedit_widget;
}

void SkintDialog::showEvent(QShowEvent* event)
{
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
    initSkintDialog();
    Create_ViewCross();
    QDialog::showEvent(event);
}

void SkintDialog::initSkintDialog()
{
    ui->billowcompBox->setChecked(design->billowLineOnTop);
    ui->ribspinBox->setRange(design->firstRib, design->lastRib - 1);
    ui->ribspinBox->setValue(1);
    design->billowReductionUp = std::clamp(design->billowReductionUp, 0.0, 99.0);
    design->billowReductionDown = std::clamp(design->billowReductionDown, 0.0, 99.0);
    ui->reduct_slider_up_Box->setValue(int(design->billowReductionUp));
    ui->reduct_slider_dw_Box->setValue(int(design->billowReductionDown));
    ui->up_pos->setText(QStringLiteral("%1").arg(design->billowReductionUp, 0, 'g', 6));
    ui->dw_pos->setText(QStringLiteral("%1").arg(design->billowReductionDown, 0, 'g', 6));
}

void SkintDialog::Create_ViewCross()
{
    if (viewCross)
        return;
    viewCross = new ViewCross(this);
    const QWidget* owner = parentWidget();
    const QSize base = owner ? owner->size() : size();
    viewCross->setMinimumSize(base.width() / 3, base.height() / 3);
    viewCross->setAttribute(Qt::WA_AlwaysShowToolTips);
}

void SkintDialog::on_billowcompBox_clicked(bool checked)
{
    design->billowLineOnTop = checked;
}

void SkintDialog::on_ribspinBox_valueChanged(int v)
{
    emit to_skinedit(v);
}

void SkintDialog::on_crossviewcheckBox_clicked()
{
    if (viewCross)
        viewCross->setVisible(ui->crossviewcheckBox->isChecked());
}

void SkintDialog::on_reduct_slider_up_Box_sliderMoved(int v)
{
    design->billowReductionUp = v;
    ui->up_pos->setText(QStringLiteral("%1").arg(v));
    Apply_Edit(design, DesignEdit::Wing);
    ui->skintedit_widget->Billow_Compensation();
    ui->skintedit_widget->repaint();
}

void SkintDialog::on_reduct_slider_dw_Box_sliderMoved(int v)
{
    design->billowReductionDown = v;
    ui->dw_pos->setText(QStringLiteral("%1").arg(v));
    Apply_Edit(design, DesignEdit::Wing);
    ui->skintedit_widget->Billow_Compensation();
    ui->skintedit_widget->repaint();
}

void SkintDialog::on_acceptButton_pressed()
{
    if (viewCross)
        viewCross->hide();
    if (session->changed())
        Apply_Edit(design, DesignEdit::Wing);
    for (int r = std::max(design->firstRib, 0); r <= design->lastRib && r < kRibSlots; ++r)
        WriteLogFile(QStringLiteral(" f_BCR:%1       rib:%2").arg(design->billowReduction[r], 0, 'f', 3).arg(r));
    hide();
}

void SkintDialog::on_cancelButton_pressed()
{
    session->revert();
    if (viewCross)
        viewCross->hide();
    hide();
}

void SkintDialog::closeEvent(QCloseEvent* event)
{
    session->revert();
    QDialog::closeEvent(event);
}
