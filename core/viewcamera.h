#pragma once

// The camera of the OpenGL views (the main 3-D view, the bridle window, the
// textured preview and the pressure view): three turns, a zoom and a pan, and
// what they make of the scene, without a GL context. A view holds one,
// changes it through these functions on keys and mouse drags, and loads the
// two matrices before it draws.
//
// The scene is seen through an orthographic box one unit wide, moved back
// kCameraDepth, zoomed, panned and then turned about x, y and z (in that
// order of application to the view, so z turns the scene first). Only a
// window of the square viewport shows: it is three times the view's smaller
// side, so that the wing fills the view at the start zoom.

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QVector3D>
#include <QSize>

#include <array>

constexpr int kCameraFullTurn = 5760;    // a full turn in sixteenths of a degree
constexpr double kCameraDepth = -9.5;    // the scene's distance in front of the eye
constexpr double kFitScale = 0.45;       // the zoom at the start and after a fit

// A 4 x 4 matrix in the column order glLoadMatrixd takes.
using CameraMatrix = std::array<double, 16>;

struct ViewCamera {
    // Turns in sixteenths of a degree, each within 0 .. 5760 (a full turn
    // stays 5760 rather than 0, as the views have always shown it).
    int xRot = 0;
    int yRot = 0;
    int zRot = 0;
    double scale = kFitScale;
    double xPan = 0.0;
    double yPan = 0.0;
    // Per view: the depth of the box that is drawn, and how far below the
    // centre the large viewport hangs (a share of the height it overhangs).
    double nearPlane = 0.4;
    double farPlane = 130.0;
    double lift = 0.7;

    // Set one turn (normalised) or the zoom; true when the value changed.
    bool setXRotation(int angle);
    bool setYRotation(int angle);
    bool setZRotation(int angle);
    bool setScale(double s);
};

// An angle brought into 0 .. 5760 (5760 itself stays).
int Normalize_Rotation(int angle);

// The preset turns of keys F (face), S (side), B (the pilot's view) and
// T (the upper side), 0 .. 3; the zoom and the pan stay. False, and the
// camera unchanged, for any other preset.
bool Camera_Preset(ViewCamera* camera, int preset);

// A drag of the turning button by `drag` pixels: three sixteenths of a degree
// about x per pixel down, two about z per pixel to the left.
ViewCamera Camera_Turned(ViewCamera camera, QPoint drag);

// A drag of the panning button: the scene follows the pointer by the share of
// the view's width and height it moved.
ViewCamera Camera_Panned(ViewCamera camera, QPoint drag, QSize view);

// The start framing: no sideways pan, the scene raised by half a unit into
// the visible window of the viewport, the given zoom. The turns stay.
ViewCamera Camera_Fitted(ViewCamera camera, double scale = kFitScale);

// The zoom and the pan at which every scene point (GL units), and its mirror
// image across y = 0 (the other wing half), shows inside `area` of a w x h
// view (pixels from the lower left, as GL counts them), centred in it (the
// rule of core/viewfit.h); the turns stay. The camera unchanged without a
// point or an area.
ViewCamera Camera_Fit_Points(ViewCamera camera, const QList<QVector3D>& points, int w, int h, const QRectF& area);

// Where a scene point shows in a w x h view, in pixels from the lower left
// as GL counts them.
QPointF Camera_Window_Point(const ViewCamera& camera, int w, int h, const QVector3D& point);

// The square viewport of a w x h view (pixels, from the lower left as GL
// takes them): three times the smaller side, centred across, hanging `lift`
// of its overhang below the top.
struct CameraViewport {
    int x = 0;
    int y = 0;
    int side = 1;
};
CameraViewport Camera_Viewport(const ViewCamera& camera, int w, int h);

// glOrtho(-0.5, 0.5, -0.5, 0.5, near, far) of the camera.
CameraMatrix Camera_Projection(const ViewCamera& camera);

// The model-view matrix: zoom, then pan and depth, then the turns about x,
// y and z, as glScaled, glTranslated and three glRotated would make it.
CameraMatrix Camera_Modelview(const ViewCamera& camera);

// Where a scene point lands in the eye frame (modelview times the point).
std::array<double, 3> Camera_Eye_Point(const CameraMatrix& modelview, double x, double y, double z);
