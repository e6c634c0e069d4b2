#include "aero/ui/glapamewidget.h"

#include "aero/apameres.h"

#include "core/parastruct.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QSurfaceFormat>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <GL/gl.h>

#include <cmath>

using namespace pressureview;

namespace {

const GLfloat kLight0Diffuse[4] = {1, 1, 1, 1};
const GLfloat kLight0Position[4] = {0, 0, 10, 0};
const GLfloat kLight1Diffuse[4] = {1, 1, 1, 0.9f};
const GLfloat kLight1Position[4] = {-15, -15, -15, 0};

void vertex(const QVector3D& p)
{
    glVertex3f(p.x(), p.y(), p.z());
}

} // namespace

GLApameWidget::GLApameWidget(QWidget* parent)
    : QOpenGLWidget(parent), design(GetDataStruct()), results(GetApameClass())
{
    // Legend and panels read the same scale.
    LegendColors(legendValues, kScaleSteps, kScaleLow, kScaleHigh);
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    setFormat(format);

    cam.nearPlane = 4;
    cam.farPlane = 13;
    cam.lift = 2.0 / 3.0;
    cam.yPan = 0;
    Start_Turns(&cam);
    cam.scale = float(kStartScale);

    notice = new QLabel(this);
    notice->setObjectName(QStringLiteral("resultsNotice"));
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignCenter);
    notice->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 225); color: black; padding: 8px;"));
    notice->setMinimumWidth(520);
    notice->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(60, 30, 60, 30);
    layout->addWidget(notice, 0, Qt::AlignCenter);
    buildPanels();
}

void GLApameWidget::buildPanels()
{
    const QString why = Results_Design_Mismatch(*results, *design);
    panelList = why.isEmpty() ? Pressure_Panel_List(*results, cfdCase, design->chordStationCount, factor,
                                                    legendValues)
                              : QList<PressurePanel>();
    listSource = results;
    designBuilt = Analysis_Source_Of(*design);
    resultsBuilt = results->source;
    notice->setText(why);
    notice->setVisible(!why.isEmpty());
}

QString GLApameWidget::noticeText() const
{
    return notice->isVisibleTo(this) ? notice->text() : QString();
}

// ---------------------------------------------------------------- camera

void GLApameWidget::setXRotation(int angle)
{
    if (cam.setXRotation(angle)) {
        emit xRotationChanged(cam.xRot);
        update();
    }
}

void GLApameWidget::setYRotation(int angle)
{
    if (cam.setYRotation(angle)) {
        emit yRotationChanged(cam.yRot);
        update();
    }
}

void GLApameWidget::setZRotation(int angle)
{
    if (cam.setZRotation(angle)) {
        emit zRotationChanged(cam.zRot);
        update();
    }
}

void GLApameWidget::setScale(qreal s)
{
    // Kept in single precision, as the view has always held its zoom.
    if (cam.setScale(float(s))) {
        emit ScaleChanged(s);
        update();
    }
}

void GLApameWidget::setYTranslation(double t)
{
    cam.yPan = float(t);
    emit yTranslationChanged(float(t));
    update();
}

void GLApameWidget::setXTranslation(float t)
{
    emit xTranslationChanged(t);
    update();
}

void GLApameWidget::reinitialize()
{
    buildPanels();
    if (isVisible())
        repaint();
    else
        update();
}

void GLApameWidget::refreshIfStale()
{
    const AnalysisSource now = Analysis_Source_Of(*design);
    const AnalysisSource& res = results->source;
    auto same = [](const AnalysisSource& a, const AnalysisSource& b) {
        return a.known == b.known && a.revision == b.revision && a.twist == b.twist && a.alignment == b.alignment
               && a.smooth == b.smooth && a.file == b.file && a.fileModified == b.fileModified;
    };
    if (!same(now, designBuilt) || !same(res, resultsBuilt))
        reinitialize();
}

// ---------------------------------------------------------------- input

void GLApameWidget::mousePressEvent(QMouseEvent* event)
{
    lastPos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        setYTranslation(kStartScale);
        setScale(kStartScale);
    }
    if ((event->buttons() & Qt::MiddleButton) && !cursorOverridden) {
        QApplication::setOverrideCursor(QCursor(Qt::SizeVerCursor));
        cursorOverridden = true;
    }
}

void GLApameWidget::mouseReleaseEvent(QMouseEvent*)
{
    if (cursorOverridden) {
        QApplication::restoreOverrideCursor();
        cursorOverridden = false;
    }
}

void GLApameWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int dx = pos.x() - lastPos.x();
    const int dy = pos.y() - lastPos.y();
    if (event->buttons() & Qt::RightButton) {
        const ViewCamera turned = Camera_Turned(cam, QPoint(dx, dy));
        setXRotation(turned.xRot);
        setZRotation(turned.zRot);
    } else if ((event->buttons() & Qt::MiddleButton) && height() > 0) {
        // Up and down only, faster than the pointer.
        setYTranslation(cam.yPan + dy * (-1.75) / height());
    }
    lastPos = pos;
}

void GLApameWidget::wheelEvent(QWheelEvent* event)
{
    setScale(Wheel_Scale(cam.scale, event->angleDelta().y()));
    update();
}

void GLApameWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->text() == QLatin1String("+"))
        ++sizeExp;
    else if (event->text() == QLatin1String("-"))
        --sizeExp;
    else
        return;
    factor = Model_Factor(sizeExp);
    reinitialize();
}

// ---------------------------------------------------------------- GL

void GLApameWidget::initializeGL()
{
    glClearColor(160 / 255.0f, 160 / 255.0f, 160 / 255.0f, 1);
    glEnable(GL_DEPTH_TEST);
    // The panels lie a little behind their edge lines, which stay whole.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLight0Diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, kLight0Position);
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, kLight1Diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, kLight1Position);
    // The colour follows the diffuse reflection only; chosen before the
    // tracking starts, so the ambient reflection keeps its default grey
    // instead of taking up the white current colour.
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

void GLApameWidget::resizeGL(int w, int h)
{
    const double ratio = devicePixelRatioF();
    w = int(w * ratio);
    h = int(h * ratio);
    viewport = Camera_Viewport(cam, w, h);
    glViewport(viewport.x, viewport.y, viewport.side, viewport.side);
    setYTranslation(Pressure_Viewport(w, h).yTranslation);
    setXTranslation(0);

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(Camera_Projection(cam).data());
    glMatrixMode(GL_MODELVIEW);
}

void GLApameWidget::paintGL()
{
    // The widget sets the viewport to its own size before every paint; the
    // view's is larger.
    glViewport(viewport.x, viewport.y, viewport.side, viewport.side);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(Camera_Modelview(cam).data());
    draw();
    glFlush();
}

void GLApameWidget::draw()
{
    addQuads(results);
}

void GLApameWidget::addQuads(const ApameRes* res)
{
    if (res != listSource)
        return;
    for (const PressurePanel& p : panelList)
        paintQuad(p);
}

void GLApameWidget::paintQuad(const PressurePanel& p)
{
    glBegin(GL_POLYGON);
    glColor3f(p.color.redF(), p.color.greenF(), p.color.blueF());
    glNormal3f(p.normal.x(), p.normal.y(), p.normal.z());
    for (int q = 0; q < p.cornerCount; ++q)
        vertex(p.corners[q]);
    glEnd();
    // The spanwise edges: the chordwise stations along the span.
    glDisable(GL_LIGHTING);
    glLineWidth(1);
    glColor4f(p.edge.redF(), p.edge.greenF(), p.edge.blueF(), 1);
    glBegin(GL_LINES);
    vertex(p.corners[0]);
    vertex(p.corners[1]);
    if (p.cornerCount == 4) {
        vertex(p.corners[2]);
        vertex(p.corners[3]);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

void GLApameWidget::DrawArrow(QVector3D a, QVector3D b)
{
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    for (const ColoredSegment& s : Arrow_Segments(a, b)) {
        glColor3f(s.color.redF(), s.color.greenF(), s.color.blueF());
        vertex(s.from);
        vertex(s.to);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

// ---------------------------------------------------------------- legend

LegendArea::LegendArea(QWidget* parent) : QWidget(parent)
{
    LegendColors(legendValues, kScaleSteps, kScaleLow, kScaleHigh);
}

void LegendArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawLegend(&painter);
}

QFont LegendArea::labelFont() const
{
    QFont f = font();
    f.setWeight(QFont::DemiBold);
    f.setPixelSize(11);
    return f;
}

LegendScene LegendArea::scene() const
{
    const QFontMetricsF metrics(labelFont());
    return Legend_Scene(legendValues, kScaleSteps, size(), metrics.height(),
                        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
}

void LegendArea::DrawLegend(QPainter* painter)
{
    const LegendScene legend = scene();
    for (const LegendBand& b : legend.bands) {
        painter->setBrush(b.colour);
        painter->drawRect(b.rect);
    }
    painter->setFont(labelFont());
    for (const LegendLabel& l : legend.labels) {
        if (l.plate.isValid())
            painter->fillRect(l.box.adjusted(-1, 0, 1, 0), l.plate);
        painter->setPen(l.colour);
        painter->drawText(l.box, Qt::AlignLeft | Qt::AlignVCenter, l.text);
    }
}
