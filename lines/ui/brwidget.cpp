#include "lines/ui/brwidget.h"

#include "core/parastruct.h"
#include "widgets/colorclass.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <GL/gl.h>

#include <algorithm>

namespace {

const GLfloat kDiffuse[4] = {1, 1, 1, 1};
const GLfloat kLight0[4] = {0, 0, 10, 0};
const GLfloat kLight1[4] = {-15, -15, -15, 0};

constexpr double kWheelStep = 0.1f;   // the wheel's step, taken in single precision

void vertex(const QVector3D& p)
{
    glVertex3f(p.x(), p.y(), p.z());
}

} // namespace

BrWidget::BrWidget(QWidget* parent)
    : QOpenGLWidget(parent), design(GetDataStruct()), copy(std::make_unique<BridleData>())
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    setFormat(format);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setWindowTitle(" 3D canopy ");
    setFocusPolicy(Qt::StrongFocus);

    // The face view at the fitting zoom, not yet panned.
    Camera_Preset(&cam, 0);
    cam.scale = kFitScale;
    factor = bridle3d::kModelFactor;
    canopyColor = QColor(200, 200, 200);   // until a colour file says otherwise
    connect(this, &BrWidget::ReInitialize, this, &BrWidget::reinitialize);
}

BrWidget::~BrWidget() = default;

// ---------------------------------------------------------------- camera

void BrWidget::setXRotation(int angle)
{
    if (cam.setXRotation(angle)) {
        emit xRotationChanged(cam.xRot);
        update();
    }
}

void BrWidget::setYRotation(int angle)
{
    if (cam.setYRotation(angle)) {
        emit yRotationChanged(cam.yRot);
        update();
    }
}

void BrWidget::setZRotation(int angle)
{
    if (cam.setZRotation(angle)) {
        emit zRotationChanged(cam.zRot);
        update();
    }
}

void BrWidget::setXZ_Rotation(QPoint angles)
{
    if (cam.setXRotation(angles.x()))
        emit xRotationChanged(cam.xRot);
    if (cam.setZRotation(angles.y()))
        emit zRotationChanged(cam.zRot);
    update();
}

void BrWidget::setScale(qreal scale)
{
    if (cam.setScale(scale)) {
        emit ScaleChanged(scale);
        update();
    }
}

// The translations are stored by the caller; these only announce them.
void BrWidget::setXTranslation(qreal t)
{
    emit xTranslationChanged(t);
    update();
}

void BrWidget::setYTranslation(qreal t)
{
    emit yTranslationChanged(t);
    update();
}

void BrWidget::setXY_Translation(QPointF t)
{
    emit xTranslationChanged(t.x());
    emit yTranslationChanged(t.y());
    update();
}

void BrWidget::SetViewType(int preset)
{
    ViewCamera turned = cam;
    if (!Camera_Preset(&turned, preset))
        return;
    setXRotation(turned.xRot);
    setYRotation(turned.yRot);
    setZRotation(turned.zRot);
}

void BrWidget::AutoZoom()
{
    const ViewCamera fitted = Camera_Fitted(cam);
    cam.yPan = fitted.yPan;
    emit yTranslationChanged(cam.yPan);
    cam.xPan = fitted.xPan;
    emit xTranslationChanged(cam.xPan);
    setScale(fitted.scale);
    update();
}

// ---------------------------------------------------------------- data

void BrWidget::takeColors()
{
    // A colour file that could not be read leaves the colours as they were.
    const ColorClass* colors = GetColorClass();
    if (colors->canopyColor.isValid())
        canopyColor = colors->canopyColor;
    if (colors->backgroundColor.isValid())
        backgroundColor = colors->backgroundColor;
}

void BrWidget::rebuildLists()
{
    quadList = Bridle_Canopy_Quads(design, factor);
    builtRevision = design->geometryChanged.revision();
    builtFactor = factor;
    built = true;
}

void BrWidget::reinitialize()
{
    // A hidden window catches up when it is shown.
    if (!isVisible())
        return;
    ReadColorsStream();
    takeColors();
    *copy = design->bridle;
    rebuildLists();
    if (isValid()) {
        makeCurrent();
        setupGL();
        doneCurrent();
    }
    update();
}

// ---------------------------------------------------------------- GL

void BrWidget::setupGL()
{
    glClearColor(backgroundColor.redF(), backgroundColor.greenF(), backgroundColor.blueF(), 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_AUTO_NORMAL);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    // The quads take their colour from glColor under the lights.
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kDiffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, kLight0);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, kDiffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, kLight1);
}

void BrWidget::initializeGL()
{
    if (!built) {
        takeColors();
        *copy = design->bridle;
        rebuildLists();
    }
    setupGL();
}

void BrWidget::resizeGL(int w, int h)
{
    const double ratio = devicePixelRatioF();
    w = int(w * ratio);
    h = int(h * ratio);
    viewport = Camera_Viewport(cam, w, h);
    cam.yPan = 0.5;
    emit yTranslationChanged(cam.yPan);
    cam.xPan = 0.0;
    emit xTranslationChanged(cam.xPan);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(Camera_Projection(cam).data());
    glMatrixMode(GL_MODELVIEW);
}

void BrWidget::paintGL()
{
    // The canopy follows the design; the lists are rebuilt only when it changed.
    if (!built || builtRevision != design->geometryChanged.revision() || builtFactor != factor)
        rebuildLists();
    lineList = Bridle_Group_Segments(*copy, lineSelection, factor);

    // The widget resets the viewport before every paint: put back the large
    // square of which only a window is seen.
    glViewport(viewport.x, viewport.y, viewport.side, viewport.side);
    glClearColor(backgroundColor.redF(), backgroundColor.greenF(), backgroundColor.blueF(), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(Camera_Projection(cam).data());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixd(Camera_Modelview(cam).data());

    if (!lineList.isEmpty()) {
        glDisable(GL_LIGHTING);
        glLineWidth(0.1f);
        const QColor c = lineColor();
        glColor3f(c.redF(), c.greenF(), c.blueF());
        glBegin(GL_LINES);
        for (const BridleSegment& s : lineList) {
            vertex(s.a);
            vertex(s.b);
        }
        glEnd();
        glEnable(GL_LIGHTING);
    }

    glColor3f(canopyColor.redF(), canopyColor.greenF(), canopyColor.blueF());
    glBegin(GL_QUADS);
    for (const CanopyQuad& q : quadList) {
        glNormal3f(q.normal.x(), q.normal.y(), q.normal.z());
        vertex(q.a);
        vertex(q.b);
        vertex(q.c);
        vertex(q.d);
    }
    glEnd();
    glPopMatrix();
    glFlush();
}

// ---------------------------------------------------------------- input

void BrWidget::mousePressEvent(QMouseEvent* event)
{
    pressed = true;
    moves = 0;
    takeColors();
    lastPos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        emit ReInitialize();
        AutoZoom();
        update();
    } else if (event->button() == Qt::MiddleButton) {
        QApplication::setOverrideCursor(QCursor(Qt::SizeVerCursor));
        cursorSet = true;
    }
}

void BrWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed)
        return;
    // Every second move event only: the view turns at half the pointer's rate.
    if (++moves % 2 != 0)
        return;
    const QPoint pos = event->position().toPoint();
    const int dx = pos.x() - lastPos.x();
    const int dy = pos.y() - lastPos.y();
    lastPos = pos;
    if (event->buttons() & Qt::RightButton) {
        const ViewCamera turned = Camera_Turned(cam, QPoint(dx, dy));
        setXZ_Rotation(QPoint(turned.xRot, turned.zRot));
    } else if (event->buttons() & Qt::MiddleButton) {
        cam = Camera_Panned(cam, QPoint(dx, dy), size());
        setXY_Translation(QPointF(cam.xPan, cam.yPan));
    }
}

void BrWidget::mouseReleaseEvent(QMouseEvent*)
{
    if (cursorSet)
        QApplication::restoreOverrideCursor();
    cursorSet = false;
    pressed = false;
    moves = 0;
    update();
}

void BrWidget::wheelEvent(QWheelEvent* event)
{
    const double step = event->angleDelta().y() > 0 ? 1.0 + kWheelStep : 1.0 - kWheelStep;
    setScale(cam.scale * step);
    update();
}

void BrWidget::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
        factor = bridle3d::Model_Factor(++zoomSteps);
        break;
    case Qt::Key_Minus:
        factor = bridle3d::Model_Factor(--zoomSteps);
        break;
    case Qt::Key_F: SetViewType(0); break;
    case Qt::Key_S: SetViewType(1); break;
    case Qt::Key_B: SetViewType(2); break;
    case Qt::Key_T: SetViewType(3); break;
    default:
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    update();
}

void BrWidget::showEvent(QShowEvent* event)
{
    QOpenGLWidget::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    takeColors();
    emit ReInitialize();
}
