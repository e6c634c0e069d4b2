#pragma once

// The line-group tree editor of the bridle manager ("Bridle model" tab).
//
// It edits one line tree at a time: the group that the design's
// lineSelection names (2..5 = L1..L4, 7 = the brakes). On top it shows the
// frame, every line attachment point of the half wing and of its mirror (one
// row per frame slot A..G and the brake row, one column per rib); below it
// the user builds the tree. Each line joins a child node (a frame node or a
// free node) to a parent node (always a free node); the one node that is
// nobody's child is the root, hanging on the group's riser line (L1..L4) or
// at the carabiner (the brakes). After every edit the tree is placed (the
// free nodes and the lines' 3-D ends), loaded (L1..L4) and stored into the
// design.
//
// How the bridle manager drives it (all slots, no return values):
// - activate_graphix_widget() when its tab becomes current: reloads the line
//   plan from the design (Get_All_Bridle_Data) and connects to_refresh_ropes()
//   and to_set_enable_linegrups() to the slots Refresh_Ropes() and
//   setEnableLineGrups() of the nearest ancestor that has them, then asks
//   for the group buttons (to_set_enable_linegrups). A resize does the same.
// - after setting lineSelection: Select_OneGrupLine() makes that group the
//   working group; Update_CurrentGrupLine() stores it; Clear_LineGrup()
//   resets it to its frame nodes and stores it; AttachToRiser_2D3D() places,
//   loads and stores it; Copy_LineGrup() / Paste_LineGrup() copy the current
//   group and paste it into the (then) current one.
// The editor writes only the design's bridle (frame, the selected group,
// riserHashes, riserTops) and linesOutdated; the bridle manager's edit
// session undoes it on Cancel.
//
// Questions and number dialogs go through the user-interaction seam
// (Break_Question, User().number).

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <memory>

#include "lines/lineplan.h"
#include "lines/ui/treeview.h"

class ParaStruct;

class GraphixWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GraphixWidget(QWidget* parent = nullptr);
    ~GraphixWidget() override;

    // Read access for the bridle manager's views and for tests.
    // The working group (lists only) and its group slot (-1: none).
    const BridleGroup& workingGroup() const;
    int currentSlot() const { return m_currentSlot; }
    int rootNode() const { return m_rootNode; }
    int frameNodeCount() const { return m_frameNodes; }
    bool joinPending() const { return m_joinPending; }
    // The frame rectangle in scene points: a press inside it never ends a
    // line; empty until the frame is laid out.
    QRect frameRect() const { return m_frameRect; }
    const TreeView& view() const { return m_view; }
    // The header line naming the group ("Current grup line: 1").
    QString headerText() const;
    // Where a scene point lies in the widget (for scripted mouse input).
    QPoint widgetPoint(QPoint scenePoint) const;
    // The editor's frame (laid out from the design at every selection).
    const BridleFrame& frame() const;

signals:
    void to_getbridledata();
    void to_updategrupline();
    void to_select_onegrupline();
    void to_parent();
    void to_child();
    void to_recalc();
    void to_refresh_ropes();
    void to_clear_grup();
    void to_refresh_frame();
    void to_set_enable_linegrups();

public slots:
    void activate_graphix_widget();
    void Get_All_Bridle_Data();
    void Select_OneGrupLine();
    void Clear_LineGrup();
    void Update_CurrentGrupLine();
    void Refresh_Frame();
    void AttachToRiser_2D3D();
    void assign_ChildNode();
    void assign_ParentNode();
    void LineLengthChangeAction();
    void SingleLineDiameterChangeAction();
    void AllLineDiameterChangeAction();
    void FastenRopeDiameterChangeAction();
    void DefaultLineDiameterChangeAction();
    void Copy_LineGrup();
    void Paste_LineGrup();
    void removeNodeBranches();
    void removeLineByChild();
    // Remove every line whose parent is the node, every line whose child is
    // the node, or the first line whose child is the node; the nodes stay.
    // The bool forms tell whether a line went.
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
    struct Stores;

    // Hit tests (scene points; the radii stay constant on screen).
    QPoint pointerScene() const;
    int nodeUnderPointer();
    int frameNodeAt(QPoint scenePoint) const;
    bool frameCellAt(QPoint scenePoint);
    bool showFrameCellInfo(QPoint scenePoint);
    bool lineEndUnderPointer() const;
    int handleUnderPointer() const;
    QPoint nearestNode() const;
    bool isFreeNode(int node) const;
    bool selectedLine() const;

    void computeFrameRect();
    void storeAfterEdit();
    void moveSelectedNode(int dy);
    void refastenLineEnds();
    void showJoinToolTips();
    bool diameterAction(int which);
    void showTip(const QString& text);

    // Drawing (graphixpaint.cpp).
    void Paint_Frame(QPainter* painter);
    void paint_LineList(QPainter* painter);
    void paintAngles(QPainter* painter);
    void paint_newChildParentLine(QPainter* painter);

    ParaStruct* design;
    EditorLettering m_lettering;
    std::unique_ptr<Stores> m_stores;   // group store, clipboard, working group, frame
    int m_frameNodes = -1;
    int m_currentSlot = -1;
    int m_rootNode = -1;
    int m_copySlot = -1;
    int m_pasteSlot = -1;
    bool m_joinPending = false;
    int m_startNode = -1;
    QPoint m_startPoint;
    origRLS m_pendingAttachment;
    int m_hitRib = -1, m_hitSlot = -1, m_hitSide = -1;
    int m_selection = -1;
    bool m_selectionIsLine = false;
    bool m_lineEndDrag = false;
    QPoint m_pressPoint, m_dragTarget;
    QPoint m_targetPoint;
    QPoint m_pointer;
    TreeView m_view;
    QRect m_frameRect;
    double m_unit2D = 0.0;
    double m_unit3D = 0.0;
    bool m_connected = false;
    bool m_loaded = false;   // the line plan was loaded from the design once
};
