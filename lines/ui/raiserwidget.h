#pragma once

// The riser tree editor of the bridle manager ("Riser" tab).
//
// On top, the riser frame: one point for each active line group L1..L(n)
// (n = lineGroupCount), standing for the top of that group's riser, each
// hanging by a short virtual line on a node of its own. Below, the user joins
// these nodes through free nodes down to one root, the carabiner. After every
// edit the tree is placed from the carabiner, loaded with half the flying
// weight and stored with the riser frame into the design; the line-group
// editor then hangs each group on the lower end of its virtual line.
//
// How the bridle manager drives it (all slots):
// - activate_riser_widget() when its tab becomes current and before it
//   attaches the groups on OK: reloads, recalculates and stores the riser
//   tree, and connects do_refresh_ropes() to the slot Refresh_Ropes() of the
//   nearest ancestor that has it. A resize does the same.
// - Select_Raiser() loads the tree; Reset_Raiser() asks, then rebuilds the
//   riser frame and its virtual lines; Recalculate_Raiser() places, loads and
//   stores; Save_raiser_data() stores.
// A stored tree that cannot be right (lists of different lengths) is
// reported once and left as it is in the design unless the user accepts the
// reset.

#include <QFont>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <memory>

#include "lines/lineplan.h"
#include "lines/ui/treeview.h"

class ParaStruct;

class RaiserWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RaiserWidget(QWidget* parent = nullptr);
    ~RaiserWidget() override;

    // Read access for tests: the working tree (node ids, points, pairs,
    // lines; no attachments), its root, the riser frame.
    const BridleGroup& workingTree() const;
    const FrameRaiser* riserFrame() const { return m_riserFrame; }
    int rootNode() const { return m_rootNode; }
    int frameNodeCount() const { return m_frameNodes; }
    bool joinPending() const { return m_joinPending; }
    QRect frameRect() const { return m_frameRect; }
    const TreeView& view() const { return m_view; }
    // The header line: the zoom and the edit mode.
    QString headerText() const;
    // The length labels of the riser lines where they are drawn (widget
    // coordinates): each beside its line's middle, or moved clear of the
    // labels placed before it (a leader then points to its line); none
    // covers another. A label with no free place nearby is left out.
    struct LengthLabel {
        QRectF box;
        QString text;
        QPointF line; // the middle of its line
    };
    QList<LengthLabel> lengthLabels() const;
    QPoint widgetPoint(QPoint scenePoint) const;

signals:
    void do_save_raiser();
    void do_select_raiser();
    void do_parent();
    void do_child();
    void do_recalc();
    void do_resetgrup();
    void do_refresh_ropes();

public slots:
    void Select_Raiser();
    void Reset_Raiser();
    void Recalculate_Raiser();
    void Save_raiser_data();
    void activate_riser_widget();
    void assign_ChildNode();
    void assign_ParentNode();
    void LineLengthChangeAction();
    void removeNodeBranches();
    void removeLineByChild();
    // As in the line-group editor: the nodes stay; the bool forms tell
    // whether a line went.
    bool remove_graphIndex_Parent(int node);
    bool remove_graphIndex_Child(int node);
    void remove_childindex(int node);
    void ShowContextMenu(const QPoint& pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Trees;

    bool loadRiser();
    void reportInconsistent() const;
    // The reset's two steps: the frame of one point per line group, then a
    // short virtual line below each.
    void Init_Raiser_Frame();
    void add_2virtualLines();
    void computeFrameRect();
    QPoint pointerScene() const;
    int nodeUnderPointer() const;
    int handleUnderPointer() const;
    int riserFramePointNear(QPoint scenePoint) const;
    bool isFreeNode(int node) const;
    void storeAfterEdit();
    void showHoverToolTips();
    void showTip(const QString& text);

    void paintRiserFrame(QPainter* painter);
    void paintLines(QPainter* painter);
    void paintLengthLabels(QPainter* painter) const;
    QFont labelFont() const;
    void paintPendingLineAndRoot(QPainter* painter);

    ParaStruct* design;
    EditorLettering m_lettering;
    std::unique_ptr<Trees> m_trees;   // the riser copy and the working tree
    FrameRaiser m_riserFrame[kRiserFrames];
    int m_frameNodes = -1;
    int m_rootNode = -1;
    bool m_joinPending = false;
    int m_startNode = -1;
    int m_selection = -1;
    bool m_selectionIsLine = false;
    QPoint m_targetPoint;
    QPoint m_pointer;
    TreeView m_view;
    QRect m_frameRect;
    double m_canvasWidth = 1024, m_canvasHeight = 768;
    double m_unit2D = 0.0;
    double m_unit3D = 0.0;
    bool m_activated = false;
    bool m_loaded = false;   // the tree was loaded from the design once
    // The stored tree failed to load: the reset that follows does not load it
    // again, and while the user keeps it nothing is stored over it.
    bool m_resetAfterFailedLoad = false;
    bool m_keptInconsistent = false;
};
