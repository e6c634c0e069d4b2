#pragma once

// When a view fits its drawing into its pane by itself: once in each session
// of its window, when it is first shown there (a window shown again after it
// was closed starts a new session; one restored from the task bar goes on
// as it was), and again on a resize, a new drawing or a tab chosen again for
// as long as the user has not zoomed or panned since that fit, so that a
// window maximized after it opened shows its whole drawing too. A fit that
// finds nothing to fit stays owed until the view has a drawing. The view
// keeps the numbers (core/viewfit.h gives them); the session only says when.

#include <functional>

class QShowEvent;
class QWidget;

class FitSession
{
public:
    // `fit` fits the view and says whether it had a drawing to fit.
    explicit FitSession(std::function<bool()> fit);

    // From the view's showEvent, once it took what it shows.
    void shown(const QWidget* view, const QShowEvent* event);
    // From the view's hideEvent: a window that is no longer shown ends the
    // session.
    void hidden(const QWidget* view);
    // From the view's resizeEvent; true when it fitted the view.
    bool resized(const QWidget* view);
    // The view took a new drawing: fitted now unless the user moved it.
    void drawingReady(const QWidget* view);
    // The user zoomed, panned or reset the view: resizes leave it alone.
    void userMoved() { following = false; }

    bool fitOwed() const { return owed; }

private:
    bool tryFit();

    std::function<bool()> fit;
    bool owed = true;        // this session has not been fitted yet
    bool following = false;  // the view is as the last fit left it
};
