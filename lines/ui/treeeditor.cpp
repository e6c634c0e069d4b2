#include "lines/ui/treeeditor.h"
#include "widgets/widgetinteraction.h"

#include "core/parastruct.h"
#include "widgets/uihelpers.h"

#include <QWheelEvent>

TreeEditor::TreeEditor(QWidget* parent, double nodeReach, double infoReach)
    : QWidget(parent)
    , design(GetDataStruct())
    , m_lettering(Editor_Lettering())
    , m_nodeReach(nodeReach)
    , m_infoReach(infoReach)
{
    Prepare_Tree_Editor(this);
}

QPoint TreeEditor::widgetPoint(QPoint scenePoint) const
{
    return m_view.toWidget(scenePoint).toPoint();
}

// --- Removing lines --------------------------------------------------------------

bool TreeEditor::remove_graphIndex_Parent(int node)
{
    return Remove_Lines_With_Parent(&workTree(), node) > 0;
}

bool TreeEditor::remove_graphIndex_Child(int node)
{
    return Remove_Lines_With_Child(&workTree(), node) > 0;
}

void TreeEditor::remove_childindex(int node)
{
    Remove_First_Line_With_Child(&workTree(), node);
}

// A removed line takes what hangs from it: a branch left without its way
// down to the root would keep stale loads and still count in the totals,
// the tables and the file. And a line left holding nothing goes too: it
// would end in mid-air and still take its share of the load.
void TreeEditor::removeNodeBranches()
{
    if (isFreeNode(nodeUnderPointer())) {
        const int k = int(workTree().points.indexOf(m_targetPoint));
        if (isFreeNode(k)) {
            Remove_Branch(&workTree(), k, frameLineNodes());
            Remove_Lines_Holding_Nothing(&workTree(), k, m_frameNodes);
        }
    }
    storeAfterEdit();
}

void TreeEditor::removeLineByChild()
{
    BridleGroup& tree = workTree();
    if (isFreeNode(nodeUnderPointer())) {
        const int k = int(tree.points.indexOf(m_targetPoint));
        if (isFreeNode(k)) {
            QList<int> parents;
            for (const QPoint& pair : std::as_const(tree.pairs))
                if (pair.y() == k)
                    parents << pair.x();
            if (remove_graphIndex_Child(k)) {
                Remove_Branch(&tree, k, frameLineNodes());
                for (int parent : std::as_const(parents))
                    Remove_Lines_Holding_Nothing(&tree, parent, m_frameNodes);
            }
        }
    } else {
        const int f = frameNodeAt(pointerScene());
        if (f >= 0) {
            const int parent = parentOf(f);
            remove_childindex(f);
            Remove_Lines_Holding_Nothing(&tree, parent, m_frameNodes);
        }
    }
    storeAfterEdit();
}

int TreeEditor::parentOf(int node) const
{
    for (const QPoint& pair : workTree().pairs)
        if (pair.y() == node)
            return pair.x();
    return -1;
}

void TreeEditor::removeAtPointer(bool upgoing)
{
    m_targetPoint = nearestNode();
    if (!Break_Question(QStringLiteral(" removing "), upgoing ? QStringLiteral("remove node branches: ?")
                                                              : QStringLiteral("remove line by child node: ?")))
        return;
    if (upgoing)
        removeNodeBranches();
    else
        removeLineByChild();
}

void TreeEditor::LineLengthChangeAction()
{
    if (selectedLine())
        Ask_Line_Length(design, m_unit3D, &workTree().lines[m_selection]);
}

// --- Hit tests ----------------------------------------------------------------------

QPoint TreeEditor::pointerScene() const
{
    return m_view.toScene(m_pointer);
}

int TreeEditor::nodeUnderPointer()
{
    return Node_At(workTree().points, pointerScene(), m_view.reach(m_nodeReach));
}

bool TreeEditor::isFreeNode(int node) const
{
    return node >= m_frameNodes && node >= 0 && node < workTree().points.size();
}

bool TreeEditor::selectedLine() const
{
    return m_selectionIsLine && m_selection >= 0 && m_selection < workTree().lines.size();
}

int TreeEditor::handleUnderPointer() const
{
    const BridleGroup& w = workTree();
    return Handle_At(Midpoint_Handles(w.pairs, w.points, std::max(frameLineNodes(), 0)), pointerScene(),
                     m_view.reach(m_infoReach));
}

QPoint TreeEditor::nearestNode() const
{
    return Nearest_Node_Point(workTree().points, pointerScene());
}

void TreeEditor::showTip(const QString& text)
{
    showToolTip(mapToGlobal(m_pointer), text);
}

void TreeEditor::wheelEvent(QWheelEvent* event)
{
    m_view.wheel(event->angleDelta().y());
    update();
}
