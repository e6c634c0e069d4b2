#pragma once

// What the line-group editor and the riser editor have in common as widgets:
// the tree being edited as seen through the view (pan and zoom), the pointer
// and the selection, the join of a new line in progress, the hit tests on
// nodes and line handles, removing lines with what hangs from them, the
// length dialog and the wheel. Each editor keeps its own frame, menu,
// drawing and the way it places and stores its tree.
//
// The first frameNodeCount() nodes of a tree are its frame: the attachment
// points of the canopy in a line group, the tops of the risers in the riser
// tree. A node after them is a free node.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include "lines/lineplan.h"
#include "lines/ui/treeview.h"

class ParaStruct;

class TreeEditor : public QWidget
{
    Q_OBJECT

public:
    int rootNode() const { return m_rootNode; }
    int frameNodeCount() const { return m_frameNodes; }
    bool joinPending() const { return m_joinPending; }
    // The frame rectangle in scene points: a press inside it never ends a
    // line; empty until the frame is laid out.
    QRect frameRect() const { return m_frameRect; }
    const TreeView& view() const { return m_view; }
    // Where a scene point lies in the widget (for scripted mouse input).
    QPoint widgetPoint(QPoint scenePoint) const;

public slots:
    // The length dialog for the line whose handle was chosen.
    void LineLengthChangeAction();
    // "Remove upgoing": the lines hanging from the node at the menu's target
    // point, each with everything above it. "Remove downgoing": a free
    // node's line to its parent with everything above the node, or a frame
    // node's line. Either way the lines below that then hold nothing go
    // too (the node's own line down after "upgoing"). Then the tree is
    // placed and stored.
    void removeNodeBranches();
    void removeLineByChild();
    // Remove every line whose parent is the node, every line whose child is
    // the node, or the first line whose child is the node; the nodes stay.
    // The bool forms tell whether a line went.
    bool remove_graphIndex_Parent(int node);
    bool remove_graphIndex_Child(int node);
    void remove_childindex(int node);

protected:
    // `nodeReach` and `infoReach`: how near the pointer must come to a node,
    // and to a line handle, in pixels at every zoom.
    TreeEditor(QWidget* parent, double nodeReach, double infoReach);

    // The tree being edited.
    virtual BridleGroup& workTree() = 0;
    const BridleGroup& workTree() const { return const_cast<TreeEditor*>(this)->workTree(); }
    // After an edit: place, store and tell the manager.
    virtual void storeAfterEdit() = 0;
    // The frame node near a scene point, or -1.
    virtual int frameNodeAt(QPoint scenePoint) const = 0;
    // Lines to the first this many nodes belong to the frame: they have no
    // handle and no removal takes them (the riser's virtual lines). 0 when
    // every line is the user's.
    virtual int frameLineNodes() const { return 0; }
    // The node under the pointer, or -1.
    virtual int nodeUnderPointer();

    void wheelEvent(QWheelEvent* event) override;

    QPoint pointerScene() const;
    bool isFreeNode(int node) const;
    bool selectedLine() const;
    // The line whose handle is under the pointer, or -1.
    int handleUnderPointer() const;
    // The node nearest to the pointer.
    QPoint nearestNode() const;
    // The parent of the first line ending at `node`; -1 without one.
    int parentOf(int node) const;
    void showTip(const QString& text);
    // A removal chosen from the menu at the pointer, asked first.
    void removeAtPointer(bool upgoing);

    ParaStruct* design;
    EditorLettering m_lettering;
    const double m_nodeReach;
    const double m_infoReach;
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
    double m_unit2D = 0.0;
    double m_unit3D = 0.0;
    bool m_loaded = false;   // the tree was loaded from the design once
};
