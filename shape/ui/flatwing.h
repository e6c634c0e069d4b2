#pragma once

// The flat-shape editor: the planform of the half wing (leading and trailing
// edge, each a cubic Bezier curve of four control points) shown in the
// widget FlatWing, where the user drags or nudges the points, zooms and pans,
// with the ribs, line rows and the wing's figures painted over it; and the
// dialog FlatWingDialog around it (cell-width distribution, per-rib offset,
// reset, DXF export and printing).

#include <QDialog>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

class EditSession;
class ParaStruct;
class QPainter;
namespace Ui {
class flatwingdialog;
}

// Paints over a plan view of the half wing, in the planform's drawing units:
// the ribs with their numbers, chord and cell-width labels (drawRibs,
// drawLabels), the quarter-chord points and the metacentre line (drawLabels),
// and the line rows (drawLines). Leaves the painter's pen and font changed.
void pp_Ribs_Globs_Lines(const ParaStruct* ps, QPainter* painter, bool drawRibs, bool drawLabels, bool drawLines);

// The first of the eight points (screen = scale * point + translation) lying
// less than 10 pixels from pos, or -1.
int set_selected_button(QPoint pos, double scale, QPointF translation, const QPointF* points);

class FlatWing : public QWidget
{
    Q_OBJECT

public:
    explicit FlatWing(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override { return QSize(400, 200); }

    void Setup_Flatwing(QPointF origin);
    QPointF GetCanopyShift();
    double calcMinCellWidth() const;
    void MoveSelectedPoint(int i, int dx, int dy);
    // Takes the control points into the design and brings the outline, the
    // line indexes and the area figures up to date for the next paint.
    void Refresh_Outline();
    // Recomputes the design and writes the flat shape as "flatwingshape.dxf"
    // into the project's output directory; a failure is reported to the user.
    void FlatWingShape_DXF();

    QPointF controlPoints[8];
    bool showChordGraph = true;

    // View state, readable for the dialog and the tests.
    int setupCount() const { return m_setupCount; }
    int selected() const { return m_selected; }
    double scale() const { return m_scale; }
    double panY() const { return m_panY; }
    QPointF translation() const { return m_translation; }
    // The plan with its labels and figures, in drawing units: what the view
    // shows whole at its setup, a resize and the right button.
    QRectF drawingExtent() const;
    // The block of the wing's figures (flat area, aspect ratio, ...), in
    // drawing units: two columns below the plan and the labels under its
    // trailing edge, so that it covers nothing of the plan.
    QRectF summaryBlock() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitView();
    void transformPainter(QPainter& painter);
    struct SummaryLine {
        QPointF at; // start of the base line
        QString text;
    };
    QList<SummaryLine> summaryLines() const;
    QFont summaryFont() const;
    void Paint_TextData(QPainter* painter);
    void PaintFlatWing(QPainter* painter);
    void Paint_Cntrl(QPainter* painter);
    void Paint_GlobGraph(QPainter* painter);
    void drawCoordinates(QPainter* painter);

    ParaStruct* design;
    int m_setupCount = 0;
    QPoint lastMousePos;
    int m_selected = -1;
    double m_scale = 1.0;
    double m_panX = 0.0;
    double m_panY = 0.0;
    QPointF shift;
    QPointF baseOffset{50, 0};
    QPointF m_translation{50, 0};
    QPointF origin;
    QRect frame;
    bool pressed = false;
    int moveCount = 0;
    bool cursorOverridden = false;
};

class FlatWingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FlatWingDialog(QWidget* parent = nullptr);
    ~FlatWingDialog() override;

    void InitFlatWingDialog();
    FlatWing* flatWing() const;
    int currentRib() const { return ribIndex; }

private slots:
    void on_cellwidthSlider_valueChanged(int v);
    void on_ribspinBox_valueChanged(int v);
    void on_ribshiftSlider_sliderMoved(int v);
    void on_resetButton_pressed();
    void on_printButton_pressed();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::flatwingdialog> ui;
    ParaStruct* design;
    EditSession* session = nullptr;
    int ribIndex = 0;
    double originX = 60.0;
    double originY = 0.0;
};
