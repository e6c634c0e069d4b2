#pragma once

// The billow-compensation editor: one schematic strip of the airfoil (point
// index 0 at the right, 999 at the left) with five markers that bound the
// skin-tension zones (1, 2, 4, 5) and set the nose billow line (3), the skin
// tension curves, an exaggerated picture of the inflated rib, and in a window
// of its own the relative cloth extension of both sides against theory.

#include <QDialog>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <memory>

#include "shape/billow.h"

class EditSession;
class ParaStruct;
class QPainter;
namespace Ui {
class skintdialog;
}

// The closed triangle (left top, right top, middle of the bottom edge, left top).
QPolygonF rect_to_triangle(QRectF r);

class SkintEdit : public QWidget
{
    Q_OBJECT

public:
    explicit SkintEdit(QWidget* parent = nullptr);

    void initSkintEdit();
    int find_j_pos(double x) const;
    double pos(double index) const { return x0 - index * A / 1000.0; }
    void Control_Skint_Pos_Index(int i);
    void MoveButton(int i, double x);
    void select_button();
    void BillowInfo();
    // Recomputes the nose billow tables and the design's billow line from
    // the markers and the skin tension: after every change of either, so
    // that painting only draws.
    void Billow_Compensation();

    int currentRib = 1;
    int selectedMarker = 0;
    double wheelScale = 7.0;
    bool rightButtonDown = false;
    QPoint mousePos;

    // Layout of the last paint or show.
    double stripCentre() const { return yc; }
    double stripHalfHeight() const { return dy; }

    // The nose billow tables of the last computation.
    const NoseBillow& noseBillow() const { return billow; }

public slots:
    // The rib the editor shows (the dialog's rib box; 1 at the least).
    void set_curr_rib(int rib);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PaintShema(QPainter* painter);
    void Paint_PatternTension(QPainter* painter);
    void PaintInfoVertical(QPainter* painter, double x, int marker, bool withText);
    void Paint_SkinTenPoints(QPainter* painter);
    void paint_button(QPainter* painter, QPointF p, int i);
    void paint_billow_line(QPainter* painter);
    void Airfoil_Inflation(QPainter* painter);

    ParaStruct* design;
    double W = 0, H = 0, w1 = 0, h1 = 0, m = 0, x0 = 0, A = 1, yc = 0, dy = 0, cw = 0;
    NoseBillow billow;
};

class ViewCross : public QDialog
{
    Q_OBJECT

public:
    explicit ViewCross(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(400, 400); }

    void initViewCross();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PaintCoordSystem(QPainter* painter);
    void PolyribGraph(QPainter* painter);

    const ParaStruct* design;
    double X0 = 0, Y0 = 0, w1 = 0, H = 0;
    int gx = 0, gy = 0;
    double v = 1.55;
};

class SkintDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SkintDialog(QWidget* parent = nullptr);
    ~SkintDialog() override;

    void initSkintDialog();
    void Create_ViewCross();

    SkintEdit* editor() const;
    ViewCross* extensionWindow() const { return viewCross; }

signals:
    // The rib chosen in the rib box.
    void to_skinedit(int rib);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void on_billowcompBox_clicked(bool checked);
    void on_ribspinBox_valueChanged(int v);
    void on_crossviewcheckBox_clicked();
    void on_reduct_slider_up_Box_sliderMoved(int v);
    void on_reduct_slider_dw_Box_sliderMoved(int v);
    void on_acceptButton_pressed();
    void on_cancelButton_pressed();

private:
    std::unique_ptr<Ui::skintdialog> ui;
    ParaStruct* design;
    EditSession* session = nullptr;
    ViewCross* viewCross = nullptr;
};
