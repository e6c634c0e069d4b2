#pragma once

// The " 3D" window of the bridle manager: one half of the canopy as a lit
// surface with its air intakes open, and in it the lines of the group the
// manager has selected, to be turned, zoomed and panned while the bridle is
// edited. Fixed-function OpenGL in a compatibility context; what is drawn is
// built by the list builders of lines/bridlelists.h.

#include <QColor>
#include <QList>
#include <QOpenGLWidget>
#include <QPoint>
#include <QPointF>

#include <memory>

#include "core/bridledata.h"
#include "core/viewcamera.h"
#include "lines/bridlelists.h"

class ParaStruct;

class BrWidget : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit BrWidget(QWidget* parent = nullptr);
    ~BrWidget() override;

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(512, 384); }

    // Presets 0..3 (keys F, S, B, T) of the x and z angles.
    void SetViewType(int preset);
    void AutoZoom();

    // The camera and what is drawn (for the manager and the tests).
    const ViewCamera& camera() const { return cam; }
    int xRotation() const { return cam.xRot; }
    int yRotation() const { return cam.yRot; }
    int zRotation() const { return cam.zRot; }
    double scale() const { return cam.scale; }
    double xTranslation() const { return cam.xPan; }
    double yTranslation() const { return cam.yPan; }
    double modelFactor() const { return factor; }
    QColor canopy() const { return canopyColor; }
    QColor background() const { return backgroundColor; }
    const QList<BridleSegment>& segments() const { return lineList; }
    const QList<CanopyQuad>& canopyQuads() const { return quadList; }
    // Colour of the lines of the current group.
    static QColor lineColor() { return QColor::fromRgbF(1.0f, 0.7f, 0.4f); }
    // The group the bridle manager has selected (its lineSelection: 2..5
    // L1..L4, 7 the brakes, anything else none).
    void setLineSelection(int selection) { lineSelection = selection; }

signals:
    void xRotationChanged(int angle);
    void yRotationChanged(int angle);
    void zRotationChanged(int angle);
    void ScaleChanged(qreal scale);
    void xTranslationChanged(qreal t);
    void yTranslationChanged(qreal t);
    void ReInitialize();

public slots:
    void reinitialize();
    void setXRotation(int angle);
    void setYRotation(int angle);
    void setZRotation(int angle);
    void setXZ_Rotation(QPoint angles);
    void setScale(qreal scale);
    void setXTranslation(qreal t);
    void setYTranslation(qreal t);
    void setXY_Translation(QPointF t);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    void takeColors();
    void rebuildLists();
    void setupGL();

    ParaStruct* design;
    int lineSelection = 0;
    std::unique_ptr<BridleData> copy;
    QColor canopyColor;
    QColor backgroundColor{170, 170, 255};
    ViewCamera cam;
    double factor = bridle3d::kModelFactor;
    int zoomSteps = 0;
    QPoint lastPos;
    bool pressed = false;
    bool cursorSet = false;   // the middle button's cursor is on
    int moves = 0;
    // The viewport of the last resize, set again before every frame.
    CameraViewport viewport;

    QList<BridleSegment> lineList;
    QList<CanopyQuad> quadList;
    unsigned long long builtRevision = 0;
    double builtFactor = 0.0;
    bool built = false;
};
