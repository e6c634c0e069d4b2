#ifndef GLWIDGET_H
#define GLWIDGET_H

// The OpenGL view of the wing in the middle of the main window: the half wing
// of the design record and its mirror image, flat or inflated, solid or as a
// wireframe, or as its internal structure (the ghost view), always with the
// suspension lines and the risers. Fixed-function OpenGL with GLU for the rib
// patches, drawn in immediate mode from lists rebuilt only when the design
// changes. It opens with the whole scene in view (widgets/fitsession.h).

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QList>
#include <QOpenGLWidget>
#include <QPoint>
#include <QPolygonF>
#include <QVector3D>

#include <memory>

#include "shell/glviewlists.h"
#include "core/viewcamera.h"
#include "core/parastruct.h"
#include "widgets/fitsession.h"
#include "widgets/viewstate.h"

class ColorDialog;
struct GLUnurbs;

// A label that reports a mouse press as clicked().
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text = QString(), QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

class glWidget : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit glWidget(QWidget* parent = nullptr);
    ~glWidget() override;

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(512, 384); }

    void SetViewType(int n);
    void AutoZoom();
    void SetCanopyColor();

    // How the view shows the wing: flat or inflated, ghost, wireframe. The
    // window hands it to the editors that switch the view.
    GlViewState& viewState() { return view; }
    const GlViewState& viewState() const { return view; }

    // The camera and the view's state, for the window and the tests.
    const ViewCamera& camera() const { return cam; }
    int xRotation() const { return cam.xRot; }
    int yRotation() const { return cam.yRot; }
    int zRotation() const { return cam.zRot; }
    double scale() const { return cam.scale; }
    double xTranslation() const { return cam.xPan; }
    double yTranslation() const { return cam.yPan; }
    double alpha() const { return alphaValue; }
    QColor canopy() const { return canopyColor; }
    QColor background() const { return backgroundColor; }
    const QList<Quad6>& flatQuads() const { return flatQuadList; }
    const QList<Quad6>& inflatedQuads() const { return infQuadList; }
    const QList<QList<QVector3D>>& ribCurves() const { return ribCurveList; }
    const QList<QList<QVector3D>>& frontMiniRibs() const { return miniRibsFront; }
    const QList<QList<QVector3D>>& rearMiniRibs() const { return miniRibsRear; }
    // The panel's check box with this text ("L1  " .. "Ribs "), or null.
    QCheckBox* panelBox(const QString& text) const;
    ClickableLabel* inflateIcon() const { return inflateLabel; }
    ClickableLabel* ghostIcon() const { return ghostLabel; }
    ClickableLabel* colorIcon() const { return colorLabel; }
    int rebuildCount() const { return rebuilds; }
    // The diagonals as drawn: the design's, completed at the last rebuild.
    const QList<DiagonalData>& diagonalList() const { return diagonalShapes; }
    // The straps as drawn, one polygon each (GL units).
    const QList<QList<QVector3D>>& strapList() const { return strapPolygons; }

signals:
    void xRotationChanged(int angle);
    void yRotationChanged(int angle);
    void zRotationChanged(int angle);
    void ScaleChanged(qreal fscale);
    void xTranslationChanged(qreal t);
    void yTranslationChanged(qreal t);

    void to_create_lists();
    void to_main_draw();
    void to_paint_all_lists();
    void to_paint_bridle();
    void to_paint_raiser();
    void to_paint_miniribs();
    void to_paint_straps();
    void to_paint_diagonallist();
    void to_reinitGL();
    void to_paint_ribs();
    void to_paint_trim_ribs();

public slots:
    void check_InflatedView();
    void check_GoastView();
    void check_Colors();
    void ReInit_GL();
    void Create_All_Lists();
    void Paint_RibList();
    void Paint_MiniRibs();
    void Paint_Straps();
    void Paint_All_Lists();
    void main_draw();
    void Paint_DiagonalList();
    void Paint_Bridle();
    void Paint_Raiser();
    void Paint_Trim_Ribs_Holes();

private slots:
    void setXRotation(int angle);
    void setYRotation(int angle);
    void setZRotation(int angle);
    void setXZ_Rotation(QPoint Tangle);
    void setScale(qreal fscale);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    void buildPanel();
    void setIconState(ClickableLabel* icon, bool on);
    bool boxChecked(const QString& text) const;

    // Surface lists (drawn per half).
    void Create_FlatQuadList();
    void Create_InfQuadList();
    void paintFlatQuads();
    void paintInfQuads();
    void paintQuadList(const QList<Quad6>& list);
    void paintOpenings();

    // Structure lists.
    void Create_DiagonalList();
    void Create_Rib_Holes_List();
    void Create_MiniRibs();
    QList<QList<QVector3D>> HolesForAllRibs(int rib, int group);
    void init_Trim_rib(int rib, QPointF* corners);
    void Create_trim_ribs();
    void Get_graphix_data(int slot);
    void Get_Raiser_data();
    void copyBridle();
    // The wing, its lines and risers whole in the view (both halves).
    bool fitScene();

    ParaStruct* design;
    GLUnurbs* nurbs = nullptr;
    GlViewState view;
    ViewCamera cam;
    double modelScale = glview::kModelScale;
    double alphaValue = 1.0;
    QColor canopyColor;
    QColor backgroundColor;
    bool mousePressed = false;
    QPoint lastPos;
    ColorDialog* colorDialog = nullptr;

    // The viewport of the last resize; set again before every frame, since
    // the widget resets it to its own size before painting.
    CameraViewport viewport;
    // The first show fits the whole scene, risers and all.
    FitSession fits;

    // The panel.
    QWidget* panel = nullptr;
    ClickableLabel* colorLabel = nullptr;
    ClickableLabel* inflateLabel = nullptr;
    ClickableLabel* ghostLabel = nullptr;
    QList<QCheckBox*> boxes;

    // Drawing lists.
    QList<Quad6> flatQuadList;
    QList<Quad6> infQuadList;
    QList<OpeningOutline> flatOpenings;
    QList<OpeningOutline> infOpenings;
    std::unique_ptr<BridleData> bridleCopy;
    // The design copy the rib holes are laid out on while the lists are built.
    std::unique_ptr<ParaStruct> holeLayout;
    QList<QList<QVector3D>> ribCurveList;
    QPolygonF flatRib;
    QList<QList<QVector3D>> ribHoles[kRibSlots];
    QList<Table_ctl> trimCtlList[kRibSlots];
    QList<Table_24_2> trimHoleList[kRibSlots];
    QList<Table_50_2> trimOutlineList[kRibSlots];
    QList<QList<QVector3D>> miniRibsFront;
    QList<QList<QVector3D>> miniRibsRear;
    QList<DiagonalData> diagonalShapes;   // the design's diagonals, completed for drawing
    QList<QList<QVector3D>> strapPolygons;

    void rebuildIfChanged();
    int rebuilds = 0;
    unsigned long long builtRevision = 0;
    bool builtInflated = false;
};

#endif
