#pragma once

// The airfoil morphing dialog: scales the thickness of the working airfoil
// of the airfoil dialog, moves the highest and the lowest point fore and aft,
// adds a flap or turns it into a symmetric airfoil, and shows the result.
// The dialog hands every result to the airfoil dialog (to_workfoil), which
// keeps it as its morphed airfoil.

#include <QDialog>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QString>
#include <QWidget>

class ParaStruct;
class QMouseEvent;
class QPaintEvent;
class QShowEvent;
class QWheelEvent;

// The airfoil with every y scaled by `scale` (times a lower-side weight
// that runs from lowFront at the opening row "O1" of rib 1 to lowRear at
// "O2"), and every x raised to the power 1 + up before the nose and 1 + down
// from the nose on, which moves the thickest point of each side fore or aft.
QPolygonF MorphAirfoil(const ParaStruct* design, double scale, double up, double down, double lowFront,
                       double lowRear, QPolygonF p);

// The airfoil with a flap hinged at `start` percent of the chord from the
// trailing edge, bent by amount / 1000 at the trailing edge; both sides move
// together. Amount 0 leaves it unchanged.
QPolygonF make_flaps_poly(int start, int amount, QPolygonF p);

// Index of the lower-side flap hinge for a flap starting at `start` percent
// (n when no hinge is found on the upper half).
int find_B_index(int n, int start, const QPolygonF& p);

// The symmetric airfoil of n points (n at most 1000) with the thickness
// distribution of p: the cosine (camber) terms of its Fourier series taken
// out of y.
QPolygonF CreateSymetricAirfoil(int n, const QPolygonF& p);

// The view of the morphing dialog: the working airfoil, the morph result,
// the opening rows of rib 1, a grid in chord tenths; middle button pans,
// the wheel zooms, the right button restores the view.
class EditAirFoilArea : public QWidget
{
    Q_OBJECT

public:
    explicit EditAirFoilArea(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void SetWorkingAirfoil(const QString& name, const QPolygonF& airfoil);
    void SetFactor(double factor);
    void SetTopUpPos(int pos);
    void SetTopDownPos(int pos);
    void SetFlapValues(int start, int amount);
    void MorphSection(bool withFlap);

    QString name() const { return airfoilName; }
    QPolygonF workingAirfoil() const { return working; }
    QPolygonF morphedAirfoil() const { return morphed; }
    double factor() const { return scaleFactor; }
    double topUp() const { return upPos; }
    double topDown() const { return downPos; }
    double zoom() const { return zoomFactor; }
    QPointF pan() const { return panOffset; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPolygonF working;
    QString airfoilName;
    QPolygonF morphed;
    double x0 = 0.0;
    double y0 = 0.0;
    double scale = 0.0;
    QRect frame;
    double zoomFactor = 1.0;
    QPointF panOffset;
    bool pressed = false;
    QPoint lastPos;
    double scaleFactor = 1.0;
    double upPos = 0.0;
    double downPos = 0.0;
    double lowFront = 1.0;
    double lowRear = 1.0;
    int flapStart = 25;
    int flapAmount = 0;
    const ParaStruct* design = nullptr;
};

#include "ui_editairfoildialog.h"

class EditAirFoilDialog : public QDialog, public Ui::editairfoildialog
{
    Q_OBJECT

public:
    explicit EditAirFoilDialog(QWidget* parent = nullptr);

    void Transfer_WorkingFoil(const QPolygonF& airfoil);
    void initSliders();

public slots:
    void just_quit();

signals:
    // A morphing result (never an empty one), for the airfoil dialog.
    void to_workfoil(const QPolygonF& morphed);

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_verticalSlider_valueChanged(int value);
    void on_topupSlider_valueChanged(int value);
    void on_topdownSlider_valueChanged(int value);
    void on_flapSlider_valueChanged(int value);
    void on_flapspinBox_valueChanged(int value);
    void on_hasflapcheckBox_clicked(bool checked);
    void on_symetricButton_pressed();

private:
    void morph();

    QPolygonF transferred;
    int flapStart = 25;
    int flapAmount = 0;
    ParaStruct* design = nullptr;
};
