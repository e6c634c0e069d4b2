#include "widgets/fitsession.h"

#include <QShowEvent>
#include <QWidget>

#include <utility>

FitSession::FitSession(std::function<bool()> f) : fit(std::move(f)) {}

bool FitSession::tryFit()
{
    if (!fit || !fit())
        return false;
    owed = false;
    following = true;
    return true;
}

void FitSession::shown(const QWidget*, const QShowEvent* event)
{
    // A window restored from the task bar keeps its view. A tab shown again
    // takes the size its window got meanwhile, unless the user moved it.
    if (event && event->spontaneous())
        return;
    if (owed || following)
        tryFit();
}

void FitSession::hidden(const QWidget* view)
{
    // A tab page hidden behind another, or a window sent to the task bar,
    // leaves its window shown: the session goes on.
    if (view && !view->window()->isVisible())
        owed = true;
}

bool FitSession::resized(const QWidget* view)
{
    if (!view || !view->isVisible())
        return false;
    return (owed || following) && tryFit();
}

void FitSession::drawingReady(const QWidget* view)
{
    if (view && view->isVisible() && (owed || following))
        tryFit();
}
