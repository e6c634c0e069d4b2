#pragma once

// Driving the tree editors as a user does: mouse events at scene points,
// the context menu opened and one entry chosen, the wheel; and the live
// design they edit, compared as the project file would hold it.

#include "core/openfile.h"
#include "tests/common/scripteduser.h"
#include "tests/lines/linesfixture.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QMenu>
#include <QMouseEvent>
#include <QPoint>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <functional>

namespace editorfixture {

// The design as the project file holds it.
inline QByteArray projectBytes(const ParaStruct& d)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Write_Project(&buffer, d);
    return buffer.data();
}

// The live design becomes a copy of `design`.
inline ParaStruct* makeLive(const ParaStruct& design)
{
    ParaStruct* live = GetDataStruct();
    *live = design;
    return live;
}

inline void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline void press(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonPress, pos, button, button);
}

inline void release(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void moveTo(QWidget* w, QPoint pos, Qt::MouseButtons held = Qt::NoButton)
{
    mouse(w, QEvent::MouseMove, pos, Qt::NoButton, held);
}

inline void click(QWidget* w, QPoint pos)
{
    press(w, pos);
    release(w, pos);
}

inline void wheel(QWidget* w, int delta)
{
    const QPointF at(10, 10);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

// What one opening of a context menu offered.
struct MenuSeen {
    QStringList texts;
    QList<bool> enabled;
    bool opened = false;
};

// Calls `open` (which shows a context menu), notes the menu's entries and
// chooses entry `choose` when it is enabled (-1 or disabled: the menu is
// closed without a choice).
inline MenuSeen runMenu(const std::function<void()>& open, int choose)
{
    MenuSeen seen;
    withMenuChoice(
        [&seen, choose](const QList<QAction*>& actions) -> QAction* {
            seen.opened = true;
            for (QAction* a : actions) {
                seen.texts << a->text();
                seen.enabled << a->isEnabled();
            }
            return choose >= 0 && choose < actions.size() ? actions[choose] : nullptr;
        },
        open);
    return seen;
}

// The widget point of a scene point for an editor with widgetPoint().
template <typename Editor>
QPoint at(const Editor& e, QPoint scene)
{
    return e.widgetPoint(scene);
}

// The menu of an editor at a scene point, entry `choose` chosen.
template <typename Editor>
MenuSeen menuAt(Editor& e, QPoint scene, int choose)
{
    const QPoint pos = e.widgetPoint(scene);
    return runMenu([&e, pos] { e.ShowContextMenu(pos); }, choose);
}

} // namespace editorfixture
