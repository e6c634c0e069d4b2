#pragma once

// The pressure view of the analysis: the solver's panels in 3-D, each filled
// with the colour of its pressure coefficient in the case the dialog's
// slider selects (the view's cfdCase), and the colour legend beside it. Fixed-function OpenGL in
// a compatibility context; the panels come ready from Pressure_Panel_List
// (aero/pressureview.h) and are only drawn here.
//
// Mouse: right button turns, middle button moves up and down, left button
// brings the start view back; wheel: fine zoom; keys "+" and "-": the size of
// the mesh doubles or halves.
//
// Results that do not belong to the design as it stands (Results_Design_
// Mismatch: computed before an edit or with other run settings, or read
// from a file whose design is not known) are not drawn: the view says why
// in their place.

#include "aero/apameres.h"
#include "aero/pressureview.h"
#include "core/viewcamera.h"

#include <QFont>
#include <QList>
#include <QOpenGLWidget>
#include <QPoint>
#include <QWidget>

class ParaStruct;
class QLabel;

class GLApameWidget : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit GLApameWidget(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(512, 384); }

    // The view's state, for the dialog and the tests.
    const ViewCamera& camera() const { return cam; }
    int xRotation() const { return cam.xRot; }
    int yRotation() const { return cam.yRot; }
    int zRotation() const { return cam.zRot; }
    double scale() const { return cam.scale; }
    double yTranslation() const { return cam.yPan; }
    int sizeExponent() const { return sizeExp; }
    double modelFactor() const { return factor; }
    const QList<PressurePanel>& panels() const { return panelList; }
    // The case shown (angle of attack 0 to 12 degrees), taken at the next
    // reinitialize().
    void setCase(int caseIndex) { cfdCase = caseIndex; }
    int shownCase() const { return cfdCase; }
    // The values of the colour scale, -1.5 to 1.0 in kScaleSteps steps.
    const double* legendScale() const { return legendValues; }
    // Why no results are drawn though there are some (empty otherwise).
    QString noticeText() const;

signals:
    void xRotationChanged(int angle);
    void yRotationChanged(int angle);
    void zRotationChanged(int angle);
    void ScaleChanged(qreal fscale);
    void xTranslationChanged(float t);
    void yTranslationChanged(float t);

public slots:
    void setXRotation(int angle);
    void setYRotation(int angle);
    void setZRotation(int angle);
    void setScale(qreal fscale);
    // The view has no sideways offset: this only tells and repaints.
    void setXTranslation(float t);
    // Rebuilds the panels from the results and the case shown, then
    // repaints.
    void reinitialize();
    // reinitialize() when the design or the results changed since the
    // panels were built.
    void refreshIfStale();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    void setYTranslation(double t);
    // The panels of the results when they belong to the design as it
    // stands, otherwise none and the notice that says why.
    void buildPanels();
    // Draws the panels of the results record.
    void draw();
    // Draws the panels built from `res` by the last reinitialize (nothing
    // for a record they were not built from).
    void addQuads(const ApameRes* res);
    void paintQuad(const PressurePanel& panel);
    // A yellow line from a to b with a red head back from b.
    void DrawArrow(QVector3D a, QVector3D b);

    const ParaStruct* design;
    ApameRes* results;
    int cfdCase = 0;
    double legendValues[pressureview::kScaleSteps];
    // The view never pans sideways; its box is shallow, round the mesh.
    ViewCamera cam;
    int sizeExp = pressureview::kStartSizeExponent;
    double factor = pressureview::Model_Factor(pressureview::kStartSizeExponent);
    QPoint lastPos;
    bool cursorOverridden = false;
    CameraViewport viewport;
    QList<PressurePanel> panelList;
    const ApameRes* listSource = nullptr; // the record panelList was built from
    AnalysisSource designBuilt;           // the design and results the list was built for
    AnalysisSource resultsBuilt;
    QLabel* notice = nullptr;
};

// The colour scale of the pressure view: 30 bands from the highest value
// (top) to the lowest, each with its value.
class LegendArea : public QWidget
{
    Q_OBJECT

public:
    explicit LegendArea(QWidget* parent = nullptr);

    // What the legend draws at its current size and font.
    LegendScene scene() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawLegend(QPainter* painter);
    QFont labelFont() const;

    double legendValues[pressureview::kScaleSteps]; // the pressure view's scale
};
