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

#include <memory>

#include "lines/lineplan.h"
#include "lines/ui/treeeditor.h"
#include "lines/ui/treeview.h"

class ParaStruct;

class RaiserWidget : public TreeEditor
{
    Q_OBJECT

public:
    explicit RaiserWidget(QWidget* parent = nullptr);
    ~RaiserWidget() override;

    // Read access for tests: the working tree (node ids, points, pairs,
    // lines; no attachments), its root, the riser frame.
    const BridleGroup& workingTree() const;
    const FrameRaiser* riserFrame() const { return m_riserFrame; }
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
    void ShowContextMenu(const QPoint& pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
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
    BridleGroup& workTree() override;
    void storeAfterEdit() override;
    int frameNodeAt(QPoint scenePoint) const override;
    // The virtual lines belong to the riser frame.
    int frameLineNodes() const override { return m_frameNodes; }
    int riserFramePointNear(QPoint scenePoint) const;
    void showHoverToolTips();

    void paintRiserFrame(QPainter* painter);
    void paintLines(QPainter* painter);
    void paintLengthLabels(QPainter* painter) const;
    QFont labelFont() const;
    void paintPendingLineAndRoot(QPainter* painter);

    std::unique_ptr<Trees> m_trees;   // the riser copy and the working tree
    FrameRaiser m_riserFrame[kRiserFrames];
    double m_canvasWidth = 1024, m_canvasHeight = 768;
    bool m_activated = false;
    // The stored tree failed to load: the reset that follows does not load it
    // again, and while the user keeps it nothing is stored over it.
    bool m_resetAfterFailedLoad = false;
    bool m_keptInconsistent = false;
};
