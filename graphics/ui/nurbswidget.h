#pragma once

// The 3-D tab of the design dialog: both halves of the inflated canopy as
// GLU NURBS surfaces, the first half textured with the colour design, and
// the line groups and risers of the bridle; until a colour design was saved
// as its texture image the view says how to make one. Fixed-function OpenGL in a
// compatibility context; everything drawn is built without GL
// (graphics/nurbspreview.h). The colour design comes as the image file the
// colouring writes into the project's output directory; every show rebuilds
// the surface from the design and loads that image as the texture.

#include <QColor>
#include <QList>
#include <QOpenGLWidget>
#include <QPoint>
#include <QPointF>

#include <memory>

#include "core/viewcamera.h"
#include "graphics/nurbspreview.h"

class ParaStruct;
struct GLUnurbs;

class NurbsWidget : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit NurbsWidget(QWidget* parent = nullptr);
    ~NurbsWidget() override;

    void SetViewType(int v);
    void AutoZoom();

    // The camera and the view's state, for the dialog and the tests.
    const ViewCamera& camera() const { return cam; }
    int xRotation() const { return cam.xRot; }
    int yRotation() const { return cam.yRot; }
    int zRotation() const { return cam.zRot; }
    float scale() const { return float(cam.scale); }
    double xTranslation() const { return cam.xPan; }
    double yTranslation() const { return cam.yPan; }
    bool textureReady() const { return surfaceReady; }
    const NurbsSurface& surface() const { return *net; }
    const QList<PreviewLine>& bridleLines() const { return lines; }
    const QList<PreviewLine>& riserLines() const { return risers; }
    // How often the texture image was painted and written, and whether the
    // last try wrote it.
    int imageBuilds() const { return builds; }
    bool imageWritten() const { return lastImageWritten; }
    // The reason the last image was not written, and whether the last build
    // told the user of it (a failure is told once while it repeats).
    const QString& imageProblem() const { return lastImageProblem; }
    bool imageProblemTold() const { return lastProblemTold; }

    // What the view says while it has no texture to show.
    static QString emptyHint();

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(512, 384); }

signals:
    void to_create_design_image();
    void xRotationChanged(int angle);
    void yRotationChanged(int angle);
    void zRotationChanged(int angle);
    void ScaleChanged(qreal scale);
    void xTranslationChanged(float t);
    void yTranslationChanged(float t);

public slots:
    void setScale(qreal s);
    void setXRotation(int angle);
    void setYRotation(int angle);
    void setZRotation(int angle);
    void setXZ_Rotation(QPoint angles);
    void setXTranslation(qreal t);
    void setYTranslation(qreal t);
    void setXY_Translation(QPointF t);
    void reinitialize();
    void Create_DesignImage();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    void Set_Inflated_Surface_Points();
    bool load_DesignImage();
    bool BuildTextureRAW(const QImage& image);
    void set_TextureParameters(bool repeat);
    void Render_Surface();
    void draw_Lines(const QList<PreviewLine>& list);
    void Paint_Raiser();
    void draw_Bridle();
    void takeBridle();

    const ParaStruct* design;
    std::unique_ptr<NurbsSurface> net;
    GLUnurbs* renderer = nullptr;
    unsigned int textureId = 0;
    bool surfaceReady = false;
    bool loadPending = false;  // a show asked for the image: loaded at the next frame
    // The zoom is kept in single precision, as the preview has always held it.
    ViewCamera cam;
    const double modelScale = nurbs::kModelScale;
    QPoint lastMousePos;
    bool mousePressed = false;
    QColor backgroundColour = Qt::lightGray;
    QList<PreviewLine> lines;   // the bridle of the design at the last GL set-up
    QList<PreviewLine> risers;
    CameraViewport viewport;
    int builds = 0;
    bool lastImageWritten = false;
    QString lastImageProblem; // the failure of the last image write, told once
    bool lastProblemTold = false;
};
