#include "airfoils/ui/editairfoildialog.h"

#include "core/airfoil.h"
#include "core/calcul3d.h"
#include "core/mygsllib.h"
#include "core/parastruct.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// x raised to a power; a point ahead of the leading edge keeps its x.
double powerX(double x, double exponent)
{
    return x > 0.0 ? std::pow(x, exponent) : x;
}

// Upper-side flap hinge: the point at or just ahead of hinge x, searched
// from the trailing edge over the upper half; -1 when there is none.
int upperHinge(int n, int start, const QPolygonF& p)
{
    const double hinge = 1.0 - start / 100.0;
    const int half = std::min<int>(n / 2, int(p.size()) - 1);
    for (int k = 1; k <= half; ++k)
        if (p[k - 1].x() >= hinge && hinge >= p[k].x())
            return k - 1;
    return -1;
}

} // namespace

QPolygonF MorphAirfoil(const ParaStruct* design, double scale, double up, double down, double lowFront,
                       double lowRear, QPolygonF p)
{
    const int n = int(p.size());
    const int nose = get_nose_index(&p);
    const int o1 = design->lineIndex[0][1];
    const int o2 = design->lineIndex[1][1];

    double w = 1.0;
    for (int i = 0; i < n; ++i) {
        if (i <= nose)
            w = 1.0;
        else if (i <= o1)
            w = lowFront;
        if (o1 < i && i < o2)
            w = lowFront + (lowRear - lowFront) * double(i - o1) / double(o2 - o1);
        if (i >= o2) {
            // With "O2" on the last point there is no rear zone left to blend.
            const int rear = n - 1 - o2;
            w = rear > 0 ? 1.0 + (lowRear - 1.0) * double(n - 1 - i) / double(rear) : 1.0;
        }
        const double x = p[i].x();
        p[i] = QPointF(powerX(x, i < nose ? 1.0 + up : 1.0 + down), p[i].y() * w * scale);
    }
    return p;
}

int find_B_index(int n, int start, const QPolygonF& p)
{
    const int a = upperHinge(n, start, p);
    return a < 0 ? n : n - a;
}

QPolygonF make_flaps_poly(int start, int amount, QPolygonF p)
{
    if (amount == 0)
        return p;
    const int n = int(p.size());
    const double d = amount / 1000.0;
    const int a = std::max(0, upperHinge(n, start, p));
    const int b = find_B_index(n, start, p);
    for (int i = 0; i < n; ++i) {
        double t = 0.0;
        if (i < a)
            t = double(a - i) / double(a);
        else if (i > b)
            t = double(i - b) / double(n - 1 - b);
        else
            continue;
        p[i].ry() += d * t / std::sqrt(t * t + 1.0);
    }
    return p;
}

QPolygonF CreateSymetricAirfoil(int n, const QPolygonF& p)
{
    const int m = int(p.size());
    if (m < 2)
        return p;
    n = std::clamp(n, 0, 1000);
    const int terms = m / 2;
    std::vector<double> x(size_t(std::max(m, 2 * terms))), y(x.size());
    for (int i = 0; i < m; ++i) {
        x[size_t(i)] = p[i].x();
        y[size_t(i)] = p[i].y();
    }
    x[size_t(m - 1)] = x[0]; // the contour is closed
    y[size_t(m - 1)] = y[0];

    std::vector<double> X(1000), Y(1000), Yc(1000);
    Fourier_Proc(terms, x.data(), X.data());
    Fourier_Cos_Proc(terms, y.data(), Yc.data());
    Fourier_Proc(terms, y.data(), Y.data());
    QPolygonF out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(QPointF(X[size_t(i)], Y[size_t(i)] - Yc[size_t(i)]));
    return out;
}

// ---------------------------------------------------------------- view

EditAirFoilArea::EditAirFoilArea(QWidget* parent) : QWidget(parent)
{
    design = GetDataStruct();
}

QSize EditAirFoilArea::sizeHint() const
{
    return QSize(1100, 600);
}

QSize EditAirFoilArea::minimumSizeHint() const
{
    return QSize(1021, 531);
}

void EditAirFoilArea::SetWorkingAirfoil(const QString& name, const QPolygonF& airfoil)
{
    airfoilName = name;
    working = airfoil;
}

void EditAirFoilArea::SetFactor(double factor)
{
    scaleFactor = factor;
}

void EditAirFoilArea::SetTopUpPos(int pos)
{
    upPos = pos / 100.0;
}

void EditAirFoilArea::SetTopDownPos(int pos)
{
    downPos = pos / 100.0;
}

void EditAirFoilArea::SetFlapValues(int start, int amount)
{
    flapStart = start;
    flapAmount = amount;
}

void EditAirFoilArea::MorphSection(bool withFlap)
{
    morphed = MorphAirfoil(design, scaleFactor, upPos, downPos, lowFront, lowRear, working);
    if (withFlap)
        morphed = make_flaps_poly(flapStart, flapAmount, morphed);
    update();
}

void EditAirFoilArea::mousePressEvent(QMouseEvent* event)
{
    if (pressed)
        return;
    pressed = true;
    lastPos = event->position().toPoint();
    if (event->buttons() & Qt::RightButton) {
        panOffset = QPointF(0, 0);
        zoomFactor = 1.0;
        update();
    }
}

void EditAirFoilArea::mouseReleaseEvent(QMouseEvent*)
{
    pressed = false;
    update();
}

void EditAirFoilArea::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed)
        return;
    const QPoint pos = event->position().toPoint();
    const QPoint delta = pos - lastPos;
    lastPos = pos;
    if (event->buttons() & Qt::MiddleButton)
        panOffset += QPointF(delta);
    update();
}

void EditAirFoilArea::wheelEvent(QWheelEvent* event)
{
    zoomFactor *= std::pow(2.0, event->angleDelta().y() / 960.0);
    zoomFactor = std::clamp(zoomFactor, 0.5, 8.0);
    update();
}

void EditAirFoilArea::paintEvent(QPaintEvent*)
{
    if (working.isEmpty())
        return;
    QPainter painter(this);
    painter.setTransform(QTransform::fromTranslate(panOffset.x(), panOffset.y()).scale(zoomFactor, zoomFactor));

    const QRect r = rect();
    const double w = r.right() - r.left();
    const double h = r.bottom() - r.top();
    x0 = 0.1 * w;
    y0 = 0.6 * h;
    scale = 0.9 * w;
    frame = QRect(QPoint(0, 0), QPoint(int(w), int(h)));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(frame);

    QPen dotted(Qt::black, 1, Qt::DotLine);
    painter.setPen(dotted);
    painter.drawLine(QPointF(x0, y0), QPointF(w, y0));
    painter.drawLine(QPointF(x0, -y0), QPointF(x0, 2 * y0));

    painter.setPen(QPen(Qt::black, 1));
    painter.drawText(QPointF(20, 20), airfoilName);
    painter.drawText(QPointF(300, 20), "W:" + FindThickness(working));
    painter.drawText(QPointF(300, 40), "M:" + FindThickness(morphed));

    const QPolygonF work = prepareAirfoil(working, scale, int(x0), int(y0));
    painter.setBrush(Qt::blue);
    painter.setPen(QPen(Qt::blue, 1));
    for (int row = 0; row < 2; ++row) {
        const int index = design->lineIndex[row][1];
        if (index >= 0 && index < work.size())
            painter.drawEllipse(work[index], 5.0, 7.0);
    }

    painter.setBrush(Qt::cyan);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPolygon(work);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::red, 2));
    const QPolygonF morph = prepareAirfoil(morphed, scale, int(x0), int(y0));
    painter.drawPolygon(morph);

    if (!morphed.isEmpty()) {
        painter.setPen(QPen(Qt::black, 1));
        for (int i = 0; i < morph.size(); i += 10)
            painter.drawEllipse(morph[i], 2.0, 2.0);
    }

    QFont font = painter.font();
    font.setBold(true);
    font.setItalic(false);
    font.setPointSize(std::max(1, int(y0 / 50)));
    painter.setFont(font);
    painter.setPen(dotted);
    const double step = (w - x0) / 10.0;
    if (step <= 0.0)
        return;
    for (double x = x0; x <= w + 11; x += step) {
        const double value = std::round((x - x0) / step) * 0.1;
        painter.drawText(QPointF(x, y0), QString("%1").arg(value, 3, 'f', 2));
        painter.drawLine(QPointF(x, 0), QPointF(x, 2 * y0));
    }
    for (double y = y0 + 2 * step; y > -2 * step; y -= step) {
        const double value = std::round((y0 - y) / step) * 0.1;
        if (value != 0.0)
            painter.drawText(QPointF(x0 - 40, y), QString("%1").arg(value, 3, 'f', 2));
        painter.drawLine(QPointF(x0, y), QPointF(w, y));
    }
}

// ---------------------------------------------------------------- dialog

EditAirFoilDialog::EditAirFoilDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    move(0, 0);
    connect(exitButton, &QPushButton::pressed, this, &EditAirFoilDialog::just_quit);
    design = GetDataStruct();
    hasflapcheckBox->setChecked(false);
}

void EditAirFoilDialog::Transfer_WorkingFoil(const QPolygonF& airfoil)
{
    transferred = airfoil;
    morphwidget->SetWorkingAirfoil(" morphing work-airfoil ", airfoil);
    morphwidget->update();
    morphwidget->SetFlapValues(flapStart, flapAmount);
    morph();
}

void EditAirFoilDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        initSliders();
}

void EditAirFoilDialog::initSliders()
{
    verticalSlider->setValue(0);
    topupSlider->setValue(0);
    topdownSlider->setValue(0);
    flapspinBox->setValue(25);
    flapSlider->setValue(0);
    flapStart = 25;
    flapAmount = 0;
}

void EditAirFoilDialog::just_quit()
{
    // The morphed airfoil went to the airfoil dialog as it was made; the
    // design takes it there, when the user assigns it and confirms.
    hide();
}

void EditAirFoilDialog::morph()
{
    morphwidget->MorphSection(hasflapcheckBox->isChecked());
    if (!morphwidget->morphedAirfoil().isEmpty())
        emit to_workfoil(morphwidget->morphedAirfoil());
}

void EditAirFoilDialog::on_verticalSlider_valueChanged(int value)
{
    if (transferred.isEmpty())
        return;
    FactorLabel->setText(QString("%1").arg(value));
    morphwidget->SetFactor(value / 100.0 + 1.0);
    morph();
}

void EditAirFoilDialog::on_topupSlider_valueChanged(int value)
{
    if (transferred.isEmpty())
        return;
    morphwidget->SetTopUpPos(value);
    topupLabel->setText(QString("%1").arg(value));
    morph();
}

void EditAirFoilDialog::on_topdownSlider_valueChanged(int value)
{
    if (transferred.isEmpty())
        return;
    morphwidget->SetTopDownPos(value);
    topdownLabel->setText(QString("%1").arg(value));
    morph();
}

void EditAirFoilDialog::on_flapSlider_valueChanged(int value)
{
    if (transferred.isEmpty())
        return;
    flapAmount = value;
    morphwidget->SetFlapValues(flapStart, value);
    morph();
    flapsliderLabel->setText(QString("%1").arg(value));
}

void EditAirFoilDialog::on_flapspinBox_valueChanged(int value)
{
    if (transferred.isEmpty())
        return;
    flapStart = value;
    morphwidget->SetFlapValues(value, flapAmount);
    morph();
}

void EditAirFoilDialog::on_hasflapcheckBox_clicked(bool)
{
    // The flap is added (or taken off) with the next change of a control.
}

void EditAirFoilDialog::on_symetricButton_pressed()
{
    if (transferred.isEmpty())
        return;
    morphwidget->SetWorkingAirfoil(morphwidget->name(),
                                   FourierInterpolationAirfoil(CreateSymetricAirfoil(1000, transferred)));
    morph();
}
