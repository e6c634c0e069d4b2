#include "core/viewcamera.h"

#include "core/viewfit.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The preset turns (x, y, z) of keys F, S, B, T.
const int kPresets[4][3] = {
    {4320, 2880, 1440}, // face
    {4320, 2880, 2880}, // side
    {2880, 2880, 1440}, // the pilot's view
    {0, 2880, 1440},    // upper side
};

bool store(int* member, int angle)
{
    angle = Normalize_Rotation(angle);
    if (angle == *member)
        return false;
    *member = angle;
    return true;
}

CameraMatrix identity()
{
    CameraMatrix m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

// a x b, both in column order.
CameraMatrix product(const CameraMatrix& a, const CameraMatrix& b)
{
    CameraMatrix m{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += a[k * 4 + row] * b[col * 4 + k];
            m[col * 4 + row] = s;
        }
    return m;
}

// The turn by `sixteenths` about one axis (0 x, 1 y, 2 z), right-handed as
// glRotated turns.
CameraMatrix turn(int sixteenths, int axis)
{
    const double a = sixteenths / 16.0 * M_PI / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    CameraMatrix m = identity();
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    m[i * 4 + i] = c;
    m[j * 4 + j] = c;
    m[i * 4 + j] = s;   // column i, row j
    m[j * 4 + i] = -s;  // column j, row i
    return m;
}

} // namespace

int Normalize_Rotation(int angle)
{
    while (angle < 0)
        angle += kCameraFullTurn;
    while (angle > kCameraFullTurn)
        angle -= kCameraFullTurn;
    return angle;
}

bool ViewCamera::setXRotation(int angle)
{
    return store(&xRot, angle);
}

bool ViewCamera::setYRotation(int angle)
{
    return store(&yRot, angle);
}

bool ViewCamera::setZRotation(int angle)
{
    return store(&zRot, angle);
}

bool ViewCamera::setScale(double s)
{
    if (s == scale)
        return false;
    scale = s;
    return true;
}

bool Camera_Preset(ViewCamera* camera, int preset)
{
    if (!camera || preset < 0 || preset > 3)
        return false;
    camera->setXRotation(kPresets[preset][0]);
    camera->setYRotation(kPresets[preset][1]);
    camera->setZRotation(kPresets[preset][2]);
    return true;
}

ViewCamera Camera_Turned(ViewCamera camera, QPoint drag)
{
    camera.setXRotation(camera.xRot + 3 * drag.y());
    camera.setZRotation(camera.zRot - 2 * drag.x());
    return camera;
}

ViewCamera Camera_Panned(ViewCamera camera, QPoint drag, QSize view)
{
    camera.xPan += double(drag.x()) / std::max(view.width(), 1);
    camera.yPan -= double(drag.y()) / std::max(view.height(), 1);
    return camera;
}

ViewCamera Camera_Fitted(ViewCamera camera, double scale)
{
    camera.xPan = 0.0;
    camera.yPan = 0.5;
    camera.scale = scale;
    return camera;
}

CameraViewport Camera_Viewport(const ViewCamera& camera, int w, int h)
{
    CameraViewport v;
    v.side = 3 * std::min(w, h);
    v.x = (w - v.side) / 2;
    v.y = int((h - v.side) * camera.lift);
    return v;
}

CameraMatrix Camera_Projection(const ViewCamera& camera)
{
    const double n = camera.nearPlane, f = camera.farPlane;
    CameraMatrix m = identity();
    // Width and height 1 about the axis: x and y times 2.
    m[0] = 2.0;
    m[5] = 2.0;
    m[10] = -2.0 / (f - n);
    m[14] = -(f + n) / (f - n);
    return m;
}

CameraMatrix Camera_Modelview(const ViewCamera& camera)
{
    CameraMatrix m = identity();
    m[0] = m[5] = m[10] = camera.scale;
    CameraMatrix shift = identity();
    shift[12] = camera.xPan;
    shift[13] = camera.yPan;
    shift[14] = kCameraDepth;
    m = product(m, shift);
    m = product(m, turn(camera.xRot, 0));
    m = product(m, turn(camera.yRot, 1));
    return product(m, turn(camera.zRot, 2));
}

std::array<double, 3> Camera_Eye_Point(const CameraMatrix& m, double x, double y, double z)
{
    return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
            m[2] * x + m[6] * y + m[10] * z + m[14]};
}

QPointF Camera_Window_Point(const ViewCamera& camera, int w, int h, const QVector3D& point)
{
    const CameraViewport v = Camera_Viewport(camera, w, h);
    const std::array<double, 3> eye = Camera_Eye_Point(Camera_Modelview(camera), point.x(), point.y(), point.z());
    // The orthographic box is one unit wide: the viewport's side spans it.
    return QPointF(v.x + v.side * (0.5 + eye[0]), v.y + v.side * (0.5 + eye[1]));
}

ViewCamera Camera_Fit_Points(ViewCamera camera, const QList<QVector3D>& points, int w, int h, const QRectF& area)
{
    if (points.isEmpty() || w <= 0 || h <= 0 || !(area.width() > 0) || !(area.height() > 0))
        return camera;
    // The points turned as the camera turns them, neither zoomed nor
    // panned: a window point is then the viewport's middle plus side x
    // zoom x (turned point + pan).
    ViewCamera turned = camera;
    turned.scale = 1.0;
    turned.xPan = turned.yPan = 0.0;
    const CameraMatrix m = Camera_Modelview(turned);
    double left = std::numeric_limits<double>::infinity(), right = -left, bottom = left, top = -left;
    for (const QVector3D& p : points) {
        for (double side : {1.0, -1.0}) {
            const std::array<double, 3> eye = Camera_Eye_Point(m, p.x(), side * p.y(), p.z());
            left = std::min(left, eye[0]);
            right = std::max(right, eye[0]);
            bottom = std::min(bottom, eye[1]);
            top = std::max(top, eye[1]);
        }
    }
    const QRectF extent(QPointF(left, bottom), QPointF(right, top));
    const ViewFit fit = Fit_In(extent, area);
    const CameraViewport v = Camera_Viewport(camera, w, h);
    camera.scale = fit.zoom / v.side;
    // fit: window = offset + zoom x turned point.
    camera.xPan = (fit.offset.x() - v.x - 0.5 * v.side) / fit.zoom;
    camera.yPan = (fit.offset.y() - v.y - 0.5 * v.side) / fit.zoom;
    return camera;
}
