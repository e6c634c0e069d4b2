#include "graphics/ui/nurbswidget.h"

#include "core/chartlabels.h"
#include "core/userinteraction.h"
#include "core/parastruct.h"
#include "widgets/colorclass.h"

#include <QApplication>
#include <QPainter>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

namespace {

// The texture-coordinate surface: parameter (s, t) is texture point (s, t).
GLfloat tknots[4] = {0, 0, 1, 1};
GLfloat texels[2][2][2] = {{{0, 0}, {0, 1}}, {{1, 0}, {1, 1}}};

} // namespace

NurbsWidget::NurbsWidget(QWidget* parent)
    : QOpenGLWidget(parent), design(GetDataStruct()), net(std::make_unique<NurbsSurface>())
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    setFormat(format);

    // The box reaches up to the eye; the large viewport hangs by two thirds.
    cam.nearPlane = 0;
    cam.lift = 2.0 / 3.0;
    cam.scale = float(kFitScale);
    Camera_Preset(&cam, 0);
    connect(this, &NurbsWidget::to_create_design_image, this, &NurbsWidget::Create_DesignImage);
    emit to_create_design_image();
}

NurbsWidget::~NurbsWidget()
{
    if (renderer || textureId) {
        makeCurrent();
        if (renderer)
            gluDeleteNurbsRenderer(renderer);
        if (textureId)
            glDeleteTextures(1, &textureId);
        doneCurrent();
    }
}

void NurbsWidget::Create_DesignImage()
{
    // Without a project there is no output directory: nothing is written.
    QString problem;
    lastImageWritten = ::Create_DesignImage(&problem);
    if (lastImageWritten)
        ++builds;
    // Told once while the same failure repeats: the image is made again at
    // every change of the colours.
    lastProblemTold = !problem.isEmpty() && problem != lastImageProblem;
    if (lastProblemTold)
        User().warning(QStringLiteral("Texture image"), problem);
    lastImageProblem = problem;
}

// ---------------------------------------------------------------- camera

void NurbsWidget::setScale(qreal s)
{
    if (cam.setScale(float(s))) {
        emit ScaleChanged(s);
        update();
    }
}

void NurbsWidget::setXRotation(int angle)
{
    if (cam.setXRotation(angle)) {
        emit xRotationChanged(cam.xRot);
        update();
    }
}

void NurbsWidget::setYRotation(int angle)
{
    if (cam.setYRotation(angle)) {
        emit yRotationChanged(cam.yRot);
        update();
    }
}

void NurbsWidget::setZRotation(int angle)
{
    if (cam.setZRotation(angle)) {
        emit zRotationChanged(cam.zRot);
        update();
    }
}

void NurbsWidget::setXZ_Rotation(QPoint angles)
{
    if (cam.setXRotation(angles.x()))
        emit xRotationChanged(cam.xRot);
    if (cam.setZRotation(angles.y()))
        emit zRotationChanged(cam.zRot);
    update();
}

void NurbsWidget::setXTranslation(qreal t)
{
    emit xTranslationChanged(float(t));
    update();
}

void NurbsWidget::setYTranslation(qreal t)
{
    emit yTranslationChanged(float(t));
    update();
}

void NurbsWidget::setXY_Translation(QPointF t)
{
    emit xTranslationChanged(float(t.x()));
    emit yTranslationChanged(float(t.y()));
    update();
}

void NurbsWidget::SetViewType(int v)
{
    ViewCamera preset = cam;
    if (!Camera_Preset(&preset, v))
        return;
    setXRotation(preset.xRot);
    setZRotation(preset.zRot);
    setYRotation(preset.yRot);
    update();
}

void NurbsWidget::AutoZoom()
{
    const ViewCamera fitted = Camera_Fitted(cam);
    cam.yPan = fitted.yPan;
    cam.xPan = fitted.xPan;
    emit yTranslationChanged(float(cam.yPan));
    emit xTranslationChanged(float(cam.xPan));
    update();
    setScale(fitted.scale);
}

// ---------------------------------------------------------------- input

void NurbsWidget::mousePressEvent(QMouseEvent* event)
{
    mousePressed = true;
    lastMousePos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton)
        AutoZoom();
}

void NurbsWidget::mouseReleaseEvent(QMouseEvent*)
{
    mousePressed = false;
    update();
}

void NurbsWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!mousePressed)
        return;
    const QPoint pos = event->position().toPoint();
    const int dx = pos.x() - lastMousePos.x();
    const int dy = pos.y() - lastMousePos.y();
    lastMousePos = pos;
    if (event->buttons() & Qt::RightButton) {
        const ViewCamera turned = Camera_Turned(cam, QPoint(dx, dy));
        setXZ_Rotation(QPoint(turned.xRot, turned.zRot));
    } else if (event->buttons() & Qt::MiddleButton) {
        cam = Camera_Panned(cam, QPoint(dx, dy), size());
        setXY_Translation(QPointF(cam.xPan, cam.yPan));
    }
}

void NurbsWidget::wheelEvent(QWheelEvent* event)
{
    cam.scale = float(cam.scale) * (event->angleDelta().y() > 0 ? 1.15f : 0.85f);
    update();
}

void NurbsWidget::keyPressEvent(QKeyEvent* event)
{
    const double step = 0.1 * width() / std::max(1, height());
    switch (event->key()) {
    case Qt::Key_F: SetViewType(0); return;
    case Qt::Key_S: SetViewType(1); return;
    case Qt::Key_B: SetViewType(2); return;
    case Qt::Key_T: SetViewType(3); return;
    case Qt::Key_Plus: setScale(cam.scale * 1.25); return;
    case Qt::Key_Minus: setScale(cam.scale * 0.75); return;
    case Qt::Key_8: case Qt::Key_Up: cam.yPan += step; break;
    case Qt::Key_2: case Qt::Key_Down: cam.yPan -= step; break;
    case Qt::Key_Right: cam.xPan += step; break;
    case Qt::Key_Left: cam.xPan -= step; break;
    default: return;
    }
    emit yTranslationChanged(float(cam.yPan));
    update();
}

void NurbsWidget::closeEvent(QCloseEvent*)
{
}

// ---------------------------------------------------------------- GL

void NurbsWidget::showEvent(QShowEvent* event)
{
    QOpenGLWidget::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    Set_Inflated_Surface_Points();
    // The image becomes the texture at the next frame, with the context
    // current; until then the surface is not drawn.
    surfaceReady = false;
    loadPending = true;
    update();
}

void NurbsWidget::Set_Inflated_Surface_Points()
{
    ::Set_Inflated_Surface_Points(design, modelScale, net.get());
}

bool NurbsWidget::load_DesignImage()
{
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const QString path = Design_Image_Path();
    QImage image;
    if (path.isEmpty() || !image.load(path))
        return false;
    return BuildTextureRAW(image);
}

bool NurbsWidget::BuildTextureRAW(const QImage& image)
{
    if (!textureId)
        glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const QByteArray bytes = Texture_BGR(image);
    const GLint result = gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width(), image.height(), GL_BGR,
                                           GL_UNSIGNED_BYTE, bytes.constData());
    set_TextureParameters(true);
    return result == 0;
}

void NurbsWidget::set_TextureParameters(bool repeat)
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_MAP2_TEXTURE_COORD_2);
    glEnable(GL_MAP2_VERTEX_3);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (repeat) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
}

void NurbsWidget::reinitialize()
{
    if (isValid()) {
        makeCurrent();
        initializeGL();
        doneCurrent();
    } else {
        takeBridle();
    }
    update();
}

void NurbsWidget::takeBridle()
{
    lines = Preview_Bridle_Lines(design->bridle, modelScale);
    risers = Preview_Riser_Lines(design->bridle, design->lineGroupCount, modelScale);
}

void NurbsWidget::initializeGL()
{
    if (!renderer) {
        renderer = gluNewNurbsRenderer();
        gluNurbsProperty(renderer, GLU_SAMPLING_TOLERANCE, 25.0f);
        gluNurbsProperty(renderer, GLU_DISPLAY_MODE, GLU_FILL);
    }
    // A new context has no texture of the old one.
    textureId = 0;
    loadPending = true;

    ReadColorsStream();
    const QColor background = GetColorClass()->backgroundColor;
    if (background.isValid())
        backgroundColour = background;
    glClearColor(backgroundColour.redF(), backgroundColour.greenF(), backgroundColour.blueF(),
                 backgroundColour.alphaF());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    const GLfloat diffuse0[4] = {0.95f, 0.95f, 0.95f, 5.0f};
    const GLfloat position0[4] = {0, -10, 10, 10};
    const GLfloat diffuse1[4] = {0.85f, 0.5f, 0.85f, 1.0f};
    const GLfloat position1[4] = {0, 10, -10, 5};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse0);
    glLightfv(GL_LIGHT0, GL_POSITION, position0);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse1);
    glLightfv(GL_LIGHT1, GL_POSITION, position1);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    takeBridle();
}

void NurbsWidget::resizeGL(int w, int h)
{
    const double ratio = devicePixelRatioF();
    w = int(w * ratio);
    h = int(h * ratio);
    // A square three times the smaller side, of which a window shows.
    viewport = Camera_Viewport(cam, w, h);
    cam.yPan = 0.5;
    emit yTranslationChanged(0.5f);
    cam.xPan = 0.0;
    emit xTranslationChanged(0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(Camera_Projection(cam).data());
    glMatrixMode(GL_MODELVIEW);
}

QString NurbsWidget::emptyHint()
{
    return QStringLiteral("No coloured canopy yet: colour the pieces, then press \"Save and Preview\" on the "
                          "\"Texture colors\" tab.");
}

void NurbsWidget::paintGL()
{
    if (loadPending) {
        loadPending = false;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        surfaceReady = load_DesignImage();
        QApplication::restoreOverrideCursor();
    }
    // The widget sets the viewport to its own size before every frame, and
    // the hint's painter leaves a projection of its own.
    glViewport(viewport.x, viewport.y, viewport.side, viewport.side);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(Camera_Projection(cam).data());
    glClearColor(backgroundColour.redF(), backgroundColour.greenF(), backgroundColour.blueF(),
                 backgroundColour.alphaF());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixd(Camera_Modelview(cam).data());
    if (surfaceReady)
        Render_Surface();
    Paint_Raiser();
    draw_Bridle();
    glScalef(1.0f, -1.0f, 1.0f);
    Paint_Raiser();
    draw_Bridle();
    glPopMatrix();
    glFlush();
    if (!surfaceReady) {
        QPainter painter(this);
        painter.setPen(Readable_Text_Colour(backgroundColour));
        painter.drawText(rect().adjusted(10, 10, -10, -10), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                         emptyHint());
    }
}

void NurbsWidget::Render_Surface()
{
    if (!renderer || net->spanCount < net->spanOrder || net->chordCount < net->chordOrder)
        return;
    static_assert(sizeof(QVector3D) == 3 * sizeof(GLfloat), "the net is passed to GL as packed floats");
    GLfloat* vertices = reinterpret_cast<GLfloat*>(&net->controlNet[0][0]);
    set_TextureParameters(true);
    gluBeginSurface(renderer);
    gluNurbsSurface(renderer, 4, tknots, 4, tknots, 2 * 2, 2, &texels[0][0][0], 2, 2, GL_MAP2_TEXTURE_COORD_2);
    gluNurbsSurface(renderer, net->chordKnotCount, net->chordKnots, net->spanKnotCount, net->spanKnots,
                    nurbs::kSpanRows * 3, 3, vertices, net->chordOrder, net->spanOrder, GL_MAP2_VERTEX_3);
    gluEndSurface(renderer);
    // The other half is the mirror image, coloured alike: the pieces and
    // their colours are those of one half, and a wing is sewn symmetric.
    glScalef(1.0f, -1.0f, 1.0f);
    gluBeginSurface(renderer);
    gluNurbsSurface(renderer, 4, tknots, 4, tknots, 2 * 2, 2, &texels[0][0][0], 2, 2, GL_MAP2_TEXTURE_COORD_2);
    gluNurbsSurface(renderer, net->chordKnotCount, net->chordKnots, net->spanKnotCount, net->spanKnots,
                    nurbs::kSpanRows * 3, 3, vertices, net->chordOrder, net->spanOrder, GL_MAP2_VERTEX_3);
    gluEndSurface(renderer);
}

void NurbsWidget::draw_Lines(const QList<PreviewLine>& list)
{
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    float width = -1.0f;
    for (const PreviewLine& l : list) {
        if (l.width != width) {
            width = l.width;
            glLineWidth(width);
        }
        glColor3f(l.colour.redF(), l.colour.greenF(), l.colour.blueF());
        glBegin(GL_LINES);
        glVertex3f(l.a.x(), l.a.y(), l.a.z());
        glVertex3f(l.b.x(), l.b.y(), l.b.z());
        glEnd();
    }
    glEnable(GL_LIGHTING);
}

void NurbsWidget::Paint_Raiser()
{
    glLineWidth(1.5f);
    draw_Lines(risers);
}

void NurbsWidget::draw_Bridle()
{
    glLineWidth(1.0f);
    draw_Lines(lines);
}
