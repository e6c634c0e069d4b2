#include "shell/glwidget.h"

#include "core/calcul3d.h"
#include "widgets/colorclass.h"
#include "shell/colordialog.h"
#include "airfoils/foilunfold.h"
#include "geom/patternfun.h"
#include "core/skintension.h"
#include "core/transf.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <utility>

namespace {

const GLfloat DiffuseLight_color[4] = {1, 1, 1, 1};
const GLfloat light_position[4] = {0, 0, 15, 0};
const GLfloat light1_position[4] = {-15, -15, -15, 0};
const GLfloat mat_diffuse[4] = {0.7f, 0.7f, 0.7f, 1};
const GLfloat mat_specular[4] = {0, 0, 0, 1};
const GLfloat mat_shininess[4] = {0, 0, 0, 0};

GLfloat knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};

// The panel's check boxes, left to right after the three icons.
const char* const kBoxTexts[] = {"L1  ", "L2  ", "L3  ", "L4  ", "Br  ", "Diags", "Strap",
                                 "Front", "Rear ", "Risers", "Top surf.", "Bott.surf.", "Ribs "};

void vertex(const QVector3D& p)
{
    glVertex3f(p.x(), p.y(), p.z());
}

} // namespace

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent)
    : QLabel(parent)
{
    setText(text);
}

void ClickableLabel::mousePressEvent(QMouseEvent*)
{
    emit clicked();
}

glWidget::glWidget(QWidget* parent)
    : QOpenGLWidget(parent)
    , design(GetDataStruct())
    , bridleCopy(std::make_unique<BridleData>())
    , fits([this] { return fitScene(); })
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    setFormat(format);

    buildPanel();

    connect(this, &glWidget::to_create_lists, this, &glWidget::Create_All_Lists);
    connect(this, &glWidget::to_main_draw, this, &glWidget::main_draw);
    connect(this, &glWidget::to_paint_all_lists, this, &glWidget::Paint_All_Lists);
    connect(this, &glWidget::to_paint_bridle, this, &glWidget::Paint_Bridle);
    connect(this, &glWidget::to_paint_raiser, this, &glWidget::Paint_Raiser);
    connect(this, &glWidget::to_paint_miniribs, this, &glWidget::Paint_MiniRibs);
    connect(this, &glWidget::to_paint_straps, this, &glWidget::Paint_Straps);
    connect(this, &glWidget::to_paint_diagonallist, this, &glWidget::Paint_DiagonalList);
    connect(this, &glWidget::to_reinitGL, this, &glWidget::ReInit_GL);
    connect(this, &glWidget::to_paint_ribs, this, &glWidget::Paint_RibList);
    connect(this, &glWidget::to_paint_trim_ribs, this, &glWidget::Paint_Trim_Ribs_Holes);

    // The face view, a little closer than a fit.
    Camera_Preset(&cam, 0);
    cam.scale = 0.5;

    // The design's diagonals stay as the recompute made them: the view
    // completes copies of them for drawing.
    design->geometryChanged = true;
    ribCurveList.clear();
    alphaValue = 1.0;
}

glWidget::~glWidget()
{
    if (nurbs) {
        makeCurrent();
        gluDeleteNurbsRenderer(nurbs);
        doneCurrent();
    }
}

void glWidget::buildPanel()
{
    panel = new QWidget(this);
    auto* layout = new QHBoxLayout(panel);

    auto icon = [this, layout](const char* image, void (glWidget::*slot)()) {
        auto* label = new ClickableLabel(QString(), nullptr);
        label->setPixmap(QPixmap(QString(":/new/prefix1/images/") + image));
        label->setScaledContents(true);
        label->setMaximumSize(25, 25);
        layout->addWidget(label);
        connect(label, &ClickableLabel::clicked, this, slot);
        return label;
    };
    colorLabel = icon("color_settings.png", &glWidget::check_Colors);
    inflateLabel = icon("inflate.png", &glWidget::check_InflatedView);
    ghostLabel = icon("Ghost_view.png", &glWidget::check_GoastView);

    for (const char* text : kBoxTexts) {
        auto* box = new QCheckBox(QString::fromLatin1(text));
        box->setCheckable(true);
        box->setChecked(true);
        layout->addWidget(box);
        connect(box, &QCheckBox::clicked, this, &glWidget::ReInit_GL);
        boxes.append(box);
    }
}

QCheckBox* glWidget::panelBox(const QString& text) const
{
    for (QCheckBox* box : boxes)
        if (box->text() == text)
            return box;
    return nullptr;
}

bool glWidget::boxChecked(const QString& text) const
{
    const QCheckBox* box = panelBox(text);
    return box && box->isChecked();
}

// ---------------------------------------------------------------- camera

void glWidget::setXRotation(int angle)
{
    if (cam.setXRotation(angle))
        emit xRotationChanged(cam.xRot);
}

void glWidget::setYRotation(int angle)
{
    if (cam.setYRotation(angle))
        emit yRotationChanged(cam.yRot);
}

void glWidget::setZRotation(int angle)
{
    if (cam.setZRotation(angle))
        emit zRotationChanged(cam.zRot);
}

void glWidget::setXZ_Rotation(QPoint Tangle)
{
    setXRotation(Tangle.x());
    setZRotation(Tangle.y());
}

void glWidget::setScale(qreal s)
{
    if (cam.setScale(s))
        emit ScaleChanged(s);
}

void glWidget::SetViewType(int n)
{
    ViewCamera preset = cam;
    if (!Camera_Preset(&preset, n))
        return;
    setXRotation(preset.xRot);
    setZRotation(preset.zRot);
    setYRotation(preset.yRot);
}

bool glWidget::fitScene()
{
    QList<QVector3D> points;
    for (const QList<Quad6>* quads : {&flatQuadList, &infQuadList})
        for (const Quad6& q : *quads)
            points << q.c1 << q.c2 << q.c3 << q.c4;
    const float ms = float(modelScale);
    for (int g = 1; g <= 5; ++g)
        for (const LineProp& line : bridleCopy->groups[g].lines)
            points << line.q1 * ms << line.q2 * ms;
    for (const LineProp& line : bridleCopy->riserGroup.lines)
        points << line.q1 * ms << line.q2 * ms;
    const double ratio = devicePixelRatioF();
    const int w = int(width() * ratio), h = int(height() * ratio);
    if (points.isEmpty() || w <= 0 || h <= 0)
        return false;
    const double before = cam.scale;
    // Clear of the view's edges and, at its top, of the panel of boxes.
    const double margin = 0.04 * std::min(w, h);
    const double band = panel ? panel->geometry().bottom() * ratio : 0.0;
    const QRectF area(QPointF(margin, margin), QPointF(w - margin, h - band - margin));
    cam = Camera_Fit_Points(cam, points, w, h, area);
    viewport = Camera_Viewport(cam, w, h);
    emit xTranslationChanged(cam.xPan);
    emit yTranslationChanged(cam.yPan);
    if (cam.scale != before)
        emit ScaleChanged(cam.scale);
    update();
    return true;
}

void glWidget::AutoZoom()
{
    const double before = cam.scale;
    fits.userMoved();
    cam = Camera_Fitted(cam);
    emit xTranslationChanged(cam.xPan);
    emit yTranslationChanged(cam.yPan);
    if (cam.scale != before)
        emit ScaleChanged(cam.scale);
    update();
}

void glWidget::SetCanopyColor()
{
    const ColorClass* colors = GetColorClass();
    canopyColor = colors->canopyColor;
    backgroundColor = colors->backgroundColor;
}

// ---------------------------------------------------------------- input

void glWidget::mousePressEvent(QMouseEvent* event)
{
    mousePressed = true;
    lastPos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        emit to_reinitGL();
        AutoZoom();
    }
}

void glWidget::mouseReleaseEvent(QMouseEvent*)
{
    mousePressed = false;
}

void glWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!mousePressed)
        return;
    const QPoint pos = event->position().toPoint();
    const int dx = pos.x() - lastPos.x();
    const int dy = pos.y() - lastPos.y();
    lastPos = pos;
    if (event->buttons() & Qt::RightButton) {
        const ViewCamera turned = Camera_Turned(cam, QPoint(dx, dy));
        setXZ_Rotation(QPoint(turned.xRot, turned.zRot));
        fits.userMoved();
        update();
    }
    if (event->buttons() & Qt::MiddleButton) {
        fits.userMoved();
        cam = Camera_Panned(cam, QPoint(dx, dy), size());
        emit xTranslationChanged(cam.xPan);
        emit yTranslationChanged(cam.yPan);
        update();
    }
}

void glWidget::wheelEvent(QWheelEvent* event)
{
    if (cam.setScale(glview::Wheel_Zoom(cam.scale, event->angleDelta().y())))
        emit ScaleChanged(cam.scale);
    fits.userMoved();
    update();
}

void glWidget::keyPressEvent(QKeyEvent* event)
{
    // A letter with Ctrl, Alt or Meta is a command for the window (Ctrl+S),
    // not a view key: it goes on to the parent.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    // By key code, so with or without Shift.
    const int key = event->key();
    const int presetKeys[4] = {Qt::Key_F, Qt::Key_S, Qt::Key_B, Qt::Key_T};
    for (int n = 0; n < 4; ++n)
        if (key == presetKeys[n]) {
            SetViewType(n);
            fits.userMoved();
        }
    if (key == Qt::Key_W) {
        view.glSelection = view.glSelection == 0 ? 1 : 0;
        SetViewType(0);
    }
    update();
}

// ---------------------------------------------------------------- icons

void glWidget::setIconState(ClickableLabel* icon, bool on)
{
    icon->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    if (on) {
        icon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        icon->setMaximumSize(30, 30);
    } else {
        icon->setFrameStyle(QFrame::Panel | QFrame::Raised);
        icon->setMaximumSize(20, 20);
    }
}

void glWidget::check_Colors()
{
    if (!colorDialog)
        colorDialog = new ColorDialog(this);
    colorDialog->show();
}

void glWidget::check_InflatedView()
{
    view.inflatedView = !view.inflatedView;
    setIconState(inflateLabel, view.inflatedView);
    emit to_reinitGL();
}

void glWidget::check_GoastView()
{
    view.ghostView = !view.ghostView;
    setIconState(ghostLabel, view.ghostView);
    emit to_reinitGL();
}

// ---------------------------------------------------------------- GL life

void glWidget::showEvent(QShowEvent* event)
{
    QOpenGLWidget::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    if (design->lastRib < 66) {
        SetCanopyColor();
        emit to_reinitGL();
    }
    fits.shown(this, event);
}

void glWidget::hideEvent(QHideEvent* event)
{
    QOpenGLWidget::hideEvent(event);
    fits.hidden(this);
}

void glWidget::ReInit_GL()
{
    Create_All_Lists();
    // A new design (a project opened) shows whole while the user has not
    // moved the view.
    fits.drawingReady(this);
    // Outside a paint the context is made current here; before the first
    // show there is none yet, and its first paint sets the GL state up.
    if (isValid()) {
        makeCurrent();
        initializeGL();
        doneCurrent();
    }
    update();
}

void glWidget::initializeGL()
{
    if (!nurbs) {
        nurbs = gluNewNurbsRenderer();
        gluNurbsProperty(nurbs, GLU_SAMPLING_TOLERANCE, 15.0f);
        gluNurbsProperty(nurbs, GLU_DISPLAY_MODE, GLU_FILL);
    }

    ReadColorsStream();
    SetCanopyColor();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(backgroundColor.redF(), backgroundColor.greenF(), backgroundColor.blueF(),
                 backgroundColor.alphaF());

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    glShadeModel(GL_SMOOTH);

    glLightfv(GL_LIGHT0, GL_DIFFUSE, DiffuseLight_color);
    glLightfv(GL_LIGHT0, GL_POSITION, light_position);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, DiffuseLight_color);
    glLightfv(GL_LIGHT1, GL_POSITION, light1_position);

    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, mat_diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, mat_specular);
    glMaterialfv(GL_FRONT, GL_SHININESS, mat_shininess);

    rebuildIfChanged();
    copyBridle();
}

void glWidget::resizeGL(int w, int h)
{
    const double ratio = devicePixelRatioF();
    w = int(w * ratio);
    h = int(h * ratio);
    viewport = Camera_Viewport(cam, w, h);
    // While the view is as its fit left it, it fits the new size; else the
    // pan goes back to the start.
    if (!fits.resized(this)) {
        cam.yPan = 0.5;
        emit yTranslationChanged(0.5);
        cam.xPan = 0.0;
        emit xTranslationChanged(0.0);
    }
    glViewport(viewport.x, viewport.y, viewport.side, viewport.side);

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(Camera_Projection(cam).data());
    glMatrixMode(GL_MODELVIEW);
}

void glWidget::paintGL()
{
    // The widget sets the viewport to its own size before every paint: put
    // back the large one, of which only a window is visible.
    glViewport(viewport.x, viewport.y, viewport.side, viewport.side);
    glClearColor(backgroundColor.redF(), backgroundColor.greenF(), backgroundColor.blueF(),
                 backgroundColor.alphaF());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixd(Camera_Modelview(cam).data());
    main_draw();
    glPopMatrix();
    glFlush();
}

void glWidget::main_draw()
{
    alphaValue = view.ghostView ? 0.5 : 1.0;
    rebuildIfChanged();
    emit to_paint_all_lists();
    glScaled(1.0, -1.0, 1.0);
    emit to_paint_all_lists();
}

void glWidget::rebuildIfChanged()
{
    // The lists are rebuilt when the design has a revision they were not
    // built from; the rebuild flag is cleared as the view has always done,
    // but other views go by the revision.
    if (design->geometryChanged || design->geometryChanged.revision() != builtRevision
        || view.inflatedView != builtInflated) {
        design->geometryChanged = false;
        emit to_create_lists();
    }
}

void glWidget::Paint_All_Lists()
{
    emit to_paint_bridle();
    emit to_paint_raiser();
    if (view.ghostView) {
        emit to_paint_trim_ribs();
        emit to_paint_ribs();
        emit to_paint_miniribs();
        emit to_paint_straps();
        emit to_paint_diagonallist();
        return;
    }
    if (view.inflatedView)
        paintInfQuads();
    else
        paintFlatQuads();
}

// ---------------------------------------------------------------- lists

void glWidget::Create_All_Lists()
{
    if (design->lastRib > kRibSlots)
        return;
    ++rebuilds;
    builtRevision = design->geometryChanged.revision();
    // The lists now follow the design: the flag is taken here, or the paint
    // that follows a refresh would build them all a second time.
    design->geometryChanged = false;
    copyBridle();
    // Only the surface on show is kept: each list holds some 65 000 quads.
    builtInflated = view.inflatedView;
    if (builtInflated) {
        Create_InfQuadList();
        flatQuadList = {};
        flatOpenings = {};
    } else {
        Create_FlatQuadList();
        infQuadList = {};
        infOpenings = {};
    }
    Create_DiagonalList();
    Create_Rib_Holes_List();
    Create_MiniRibs();
    strapPolygons = Strap_Polygons(design);
    // A window shown before the view had a drawing (the design comes after
    // the first show at start-up) still owes its first fit: these lists are
    // that drawing.
    if (fits.fitOwed())
        fits.drawingReady(this);
}

void glWidget::Create_FlatQuadList()
{
    flatOpenings.clear();
    flatQuadList = Create_QuadList(design, false, {boxChecked("Top surf."), boxChecked("Bott.surf.")},
                                   canopyColor, &flatOpenings);
}

void glWidget::Create_InfQuadList()
{
    infOpenings.clear();
    infQuadList = Create_QuadList(design, true, {boxChecked("Top surf."), boxChecked("Bott.surf.")},
                                  canopyColor, &infOpenings);
}

void glWidget::paintQuadList(const QList<Quad6>& list)
{
    // One begin/end pair for the whole list: the same quads and lines as one
    // pair per quad, without the per-quad overhead.
    if (view.glSelection == 0) {
        glLineWidth(1);
        glBegin(GL_QUADS);
        for (const Quad6& q : list) {
            glColor4f(q.color.redF(), q.color.greenF(), q.color.blueF(), alphaValue);
            glNormal3f(q.normal.x(), q.normal.y(), q.normal.z());
            vertex(q.c1);
            vertex(q.c2);
            vertex(q.c3);
            vertex(q.c4);
        }
        glEnd();
    } else {
        glDisable(GL_LIGHTING);
        glLineWidth(0.1f);
        glColor4f(0, 0, 1, 1);
        glBegin(GL_LINES);
        for (const Quad6& q : list) {
            vertex(q.c1);
            vertex(q.c2);
        }
        glEnd();
        glEnable(GL_LIGHTING);
    }
}

void glWidget::paintOpenings()
{
    const QList<OpeningOutline>& list = view.inflatedView ? infOpenings : flatOpenings;
    if (list.isEmpty())
        return;
    glDisable(GL_LIGHTING);
    glLineWidth(0.5f);
    glColor4f(1, 0.5f, 1, 1);
    glBegin(GL_LINES);
    for (const OpeningOutline& o : list) {
        vertex(o.A);
        vertex(o.C);
        vertex(o.C);
        vertex(o.D);
        vertex(o.D);
        vertex(o.B);
        vertex(o.A);
        vertex(o.B);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

void glWidget::paintFlatQuads()
{
    paintQuadList(flatQuadList);
    paintOpenings();
}

void glWidget::paintInfQuads()
{
    paintQuadList(infQuadList);
    paintOpenings();
}

// ---------------------------------------------------------------- lines

void glWidget::copyBridle()
{
    *bridleCopy = design->bridle;
    for (BridleGroup& group : bridleCopy->groups)
        Rebuild_Group_Lists(&group);
}

void glWidget::Get_graphix_data(int slot)
{
    if (slot >= 0 && slot < kLineGroupSlots)
        Rebuild_Group_Lists(&bridleCopy->groups[slot]);
}

void glWidget::Get_Raiser_data()
{
    Rebuild_Group_Lists(&bridleCopy->riserGroup);
}

void glWidget::Paint_Bridle()
{
    glDisable(GL_LIGHTING);
    glLineWidth(0.5f);
    static const char* const groupBoxes[6] = {nullptr, "L1  ", "L2  ", "L3  ", "L4  ", "Br  "};
    const float ms = float(modelScale);
    for (int g = 1; g <= 5; ++g) {
        Get_graphix_data(g);
        const BridleGroup& group = bridleCopy->groups[g];
        if (group.lines.isEmpty() || !boxChecked(groupBoxes[g]))
            continue;
        const QColor color = Line_Group_Color(g);
        glColor3f(color.redF(), color.greenF(), color.blueF());
        glBegin(GL_LINES);
        for (int i = 0; i < group.lines.size(); ++i) {
            const QVector3D p = group.lines[i].q1 * ms;
            QVector3D q = group.lines[i].q2 * ms;
            if (g == 5 && i < group.attachments.size()) {
                const int rib = group.attachments[i].rib;
                if (rib >= 0 && rib < kStructSlots)
                    q = Brake_Line_End(p, q, float(modelScale * design->ToScreen(design->relaxFactors[rib])));
            }
            vertex(p);
            vertex(q);
        }
        glEnd();
    }
    glEnable(GL_LIGHTING);
}

void glWidget::Paint_Raiser()
{
    if (!boxChecked("Risers"))
        return;
    glDisable(GL_LIGHTING);
    glLineWidth(1.5f);
    Get_Raiser_data();
    const BridleGroup& risers = bridleCopy->riserGroup;
    const float ms = float(modelScale);
    glColor3f(1, 0, 1);
    glLineWidth(2);
    glBegin(GL_LINES);
    for (int i = 0; i < risers.lines.size(); ++i) {
        if (i < risers.pairs.size() && !Riser_Visible(design->lineGroupCount, risers.pairs[i]))
            continue;
        vertex(risers.lines[i].q1 * ms);
        vertex(risers.lines[i].q2 * ms);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

// ---------------------------------------------------------------- structure

void glWidget::Create_DiagonalList()
{
    // The diagonal ribs are generated by the recompute; the view completes
    // their 3-D shapes.
    if (design->lastRib > kRibSlots)
        return;
    diagonalShapes = Completed_Diagonals(design);
}

void glWidget::Create_Rib_Holes_List()
{
    // The holes are laid out on every rib in turn, with the cross-port
    // routines' working values: on a copy, so that drawing the wing leaves
    // the design (and the file saved next) as it was.
    holeLayout = std::make_unique<ParaStruct>(*design);
    ribCurveList.clear();
    const int last = std::min(design->lastRib, kRibSlots);
    for (int r = std::max(design->firstRib, 0); r < last; ++r) {
        ribHoles[r].clear();
        QList<QVector3D> curve;
        curve.reserve(kAirfoilPoints);
        for (int k = 0; k < kAirfoilPoints; ++k)
            curve.append(std::as_const(*design).ribCurves3D[r][k] * float(modelScale));
        ribCurveList.append(curve);
        // A rib without airfoil has no outline to lay holes out on, rather
        // than the one of the rib before it.
        flatRib.clear();
        Quick_Unfold_AirFoil(design, r, &flatRib);
        const int type = design->diagTableD1[r].ribType;
        if (type == 0 || type == 1)
            ribHoles[r] = HolesForAllRibs(r, type);
    }
    holeLayout.reset();
}

QList<QList<QVector3D>> glWidget::HolesForAllRibs(int rib, int group)
{
    return Rib_Hole_Loops(holeLayout ? holeLayout.get() : design, rib, group, flatRib);
}

void glWidget::init_Trim_rib(int rib, QPointF* corners)
{
    trimCtlList[rib] = {Rib_Patch_Net(design, rib, corners)};
}

void glWidget::Create_trim_ribs()
{
    if (design->lastRib >= 66)
        return;
    const int first = std::max(design->firstRib, 0);
    for (int r = first; r < design->lastRib; ++r) {
        trimHoleList[r].clear();
        trimOutlineList[r].clear();
        const double d = design->chord[0] * modelScale;
        QPointF corners[2];
        init_Trim_rib(r, corners);
        // The patch takes the shape of its own rib.
        const int entry = r - first;
        Table_50_2 outline;
        if (entry < ribCurveList.size() && Outline_Trim(ribCurveList[entry], d, corners, &outline))
            trimOutlineList[r].append(outline);
        for (const QList<QVector3D>& hole : ribHoles[r]) {
            Table_24_2 trim;
            if (Hole_Trim(poly3CloseCurve(hole), d, corners, &trim))
                trimHoleList[r].append(trim);
        }
    }
}

void glWidget::Paint_Trim_Ribs_Holes()
{
    glDisable(GL_LIGHTING);
    if (boxChecked("Ribs ") && nurbs && design->lastRib <= kRibSlots) {
        Create_trim_ribs();
        const int last = std::min(design->lastRib, kRibSlots);
        for (int r = std::max(design->firstRib, 0); r < last; ++r) {
            glPushMatrix();
            gluBeginSurface(nurbs);
            glColor4f(0.25f, 1, 1, alphaValue);
            glLineWidth(1.5f);
            if (!trimCtlList[r].isEmpty()) {
                gluNurbsSurface(nurbs, 8, knots, 8, knots, 12, 3, &trimCtlList[r].first().p[0][0][0], 4, 4,
                                GL_MAP2_VERTEX_3);
                // GLU draws nothing of a patch trimmed by inner loops alone:
                // the rib outline is its outer loop.
                for (Table_50_2& outline : trimOutlineList[r]) {
                    gluBeginTrim(nurbs);
                    gluPwlCurve(nurbs, glview::kOutlineTrimPoints, &outline.p[0][0], 2, GLU_MAP1_TRIM_2);
                    gluEndTrim(nurbs);
                }
                for (Table_24_2& hole : trimHoleList[r]) {
                    gluBeginTrim(nurbs);
                    gluPwlCurve(nurbs, glview::kHoleTrimPoints, &hole.p[0][0], 2, GLU_MAP1_TRIM_2);
                    gluEndTrim(nurbs);
                }
            }
            gluEndSurface(nurbs);
            glPopMatrix();
            glFlush();
        }
    }
    glEnable(GL_LIGHTING);
}

void glWidget::Paint_RibList()
{
    glDisable(GL_LIGHTING);
    glColor4f(1, 1, 1, 0.5f);
    glLineWidth(1);
    glBegin(GL_POINTS);
    for (const QList<QVector3D>& curve : ribCurveList)
        for (auto it = curve.crbegin(); it != curve.crend(); ++it)
            vertex(*it);
    glEnd();
    glEnable(GL_LIGHTING);
}

void glWidget::Create_MiniRibs()
{
    miniRibsFront.clear();
    miniRibsRear.clear();
    if (design->lastRib < 1 || design->lastRib > kRibSlots)
        return;
    for (int r = 0; r < design->lastRib; ++r) {
        if (design->frontRibEnabled[r]) {
            QList<QVector3D> list;
            unfold_FrontFoil(*design, r, &list);
            if (!list.isEmpty())
                miniRibsFront.append(list);
        }
        if (design->rearRibEnabled[r]) {
            QList<QVector3D> list;
            unfold_RearFoil(*design, r, &list);
            if (!list.isEmpty())
                miniRibsRear.append(list);
        }
    }
}

void glWidget::Paint_MiniRibs()
{
    const float ms = float(modelScale);
    auto paint = [ms](const QList<QList<QVector3D>>& ribs) {
        for (const QList<QVector3D>& rib : ribs) {
            glBegin(GL_POLYGON);
            for (const QVector3D& p : rib)
                vertex(p * ms);
            glEnd();
        }
    };
    if (boxChecked("Front")) {
        glColor3f(0.5f, 0.1f, 0.5f);
        paint(miniRibsFront);
    }
    if (boxChecked("Rear ")) {
        glColor3f(0.5f, 0.1f, 0.9f);
        paint(miniRibsRear);
    }
}

void glWidget::Paint_Straps()
{
    if (!boxChecked("Strap"))
        return;
    glColor4f(0.9f, 0.9f, 0.5f, 1);
    for (const QList<QVector3D>& strap : std::as_const(strapPolygons)) {
        glBegin(GL_POLYGON);
        for (const QVector3D& p : strap)
            vertex(p);
        glEnd();
    }
}

void glWidget::Paint_DiagonalList()
{
    glDisable(GL_LIGHTING);
    if (boxChecked("Diags")) {
        const float ms = float(modelScale);
        for (const DiagonalData& diag : diagonalShapes) {
            glLineWidth(2);
            glColor4f(1, 1, 1, 1);
            glBegin(GL_LINE_STRIP);
            for (const QVector3D& p : diag.spaceOutline)
                vertex(p * ms);
            glEnd();
            for (const QList<QVector3D>& hole : diag.spaceHoles) {
                glLineWidth(1);
                glColor4f(0, 1, 0, alphaValue);
                glBegin(GL_LINE_STRIP);
                for (const QVector3D& p : hole)
                    vertex(p * ms);
                glEnd();
            }
        }
    }
    glEnable(GL_LIGHTING);
}
