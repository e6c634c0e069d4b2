#pragma once

// The line-group tree editor of the bridle manager ("Bridle model" tab).
//
// It edits one line tree at a time: the group that the bridle manager's
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

#include <memory>

#include "lines/lineplan.h"
#include "lines/ui/treeeditor.h"
#include "lines/ui/treeview.h"

class ParaStruct;

class GraphixWidget : public TreeEditor
{
    Q_OBJECT

public:
    explicit GraphixWidget(QWidget* parent = nullptr);
    ~GraphixWidget() override;

    // Read access for the bridle manager's views and for tests.
    // The working group (lists only) and its group slot (-1: none).
    const BridleGroup& workingGroup() const;
    int currentSlot() const { return m_currentSlot; }
    // The header line naming the group ("Current grup line: 1").
    QString headerText() const;
    // The editor's frame (laid out from the design at every selection).
    const BridleFrame& frame() const;
    // The group the bridle manager has selected (its lineSelection: 2..5
    // L1..L4, 7 the brakes, anything else none).
    void setLineSelection(int selection) { lineSelection = selection; }

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
    void SingleLineDiameterChangeAction();
    void AllLineDiameterChangeAction();
    void FastenRopeDiameterChangeAction();
    void DefaultLineDiameterChangeAction();
    void Copy_LineGrup();
    void Paste_LineGrup();
    void ShowContextMenu(const QPoint& pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Stores;

    BridleGroup& workTree() override;
    void storeAfterEdit() override;
    // Hit tests (scene points; the radii stay constant on screen). A node
    // under the pointer on the frame shows its cell.
    int nodeUnderPointer() override;
    int frameNodeAt(QPoint scenePoint) const override;
    bool frameCellAt(QPoint scenePoint);
    bool showFrameCellInfo(QPoint scenePoint);
    bool lineEndUnderPointer() const;

    void computeFrameRect();
    void moveSelectedNode(int dy);
    void refastenLineEnds();
    void showJoinToolTips();
    bool diameterAction(int which);

    // Drawing (graphixpaint.cpp).
    void Paint_Frame(QPainter* painter);
    void paint_LineList(QPainter* painter);
    void paintAngles(QPainter* painter);
    void paint_newChildParentLine(QPainter* painter);

    std::unique_ptr<Stores> m_stores;   // group store, clipboard, working group, frame
    int m_currentSlot = -1;
    int lineSelection = 0;
    int m_copySlot = -1;
    int m_pasteSlot = -1;
    QPoint m_startPoint;
    origRLS m_pendingAttachment;
    int m_hitRib = -1, m_hitSlot = -1, m_hitSide = -1;
    bool m_lineEndDrag = false;
    QPoint m_pressPoint, m_dragTarget;
    bool m_connected = false;
};
