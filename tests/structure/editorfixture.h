#pragma once

// The structure editors' tests: the live design made the default design
// (which has diagonals, cross-ports and a line plan), mouse and wheel
// events sent straight to a widget, and pictures of the dialogs kept when
// WL_SHOTS names a folder.

#include "tests/common/statewait.h"
#include "tests/structure/structfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

namespace editors {

inline ParaStruct* liveDefault()
{
    ParaStruct* live = GetDataStruct();
    *live = fixture::defaultDesign();
    return live;
}

// The child of the given name; the test stops when there is none.
template <class T>
T* named(const QObject* root, const char* name)
{
    T* w = root->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(w);
    return w;
}

// Shows the dialog at the given size and waits until it is on screen.
inline bool showAt(QWidget* dialog, int width, int height)
{
    dialog->resize(width, height);
    dialog->show();
    statewait::waitUntil([dialog] { return statewait::windowExposed(dialog); }, "the dialog on screen", __FILE__,
                         __LINE__);
    return statewait::windowExposed(dialog);
}

inline void mouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent ev(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &ev);
}

inline void press(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonPress, pos, button, button);
}

inline void release(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void drag(QWidget* w, QPointF from, QPointF to, Qt::MouseButton button = Qt::LeftButton)
{
    press(w, from, button);
    mouse(w, QEvent::MouseMove, to, Qt::NoButton, button);
    release(w, to, button);
}

inline void wheel(QWidget* w, int delta)
{
    const QPointF at(100, 100);
    QWheelEvent ev(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &ev);
}

// A picture of the widget into $WL_SHOTS/<name>.png, for looking at.
inline void keepPicture(QWidget* w, const QString& name)
{
    const QString dir = qEnvironmentVariable("WL_SHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    QCoreApplication::processEvents();
    w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace editors
