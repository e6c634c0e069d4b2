#pragma once

// How the main window's 3-D view shows the wing. A state of the view, not
// of the design: no project file holds it, and an editor's Cancel does not
// bring it back. The view owns it; the main window hands it to the editors
// that switch the view while they are open (the diagonal ribs dialog shows
// the internal structure, the scaled model its inflated canopy).

struct GlViewState {
    bool inflatedView = false; // the inflated canopy instead of the flat one
    bool ghostView = false;    // the internal structure under a see-through canopy
    int glSelection = 0;       // 0 filled surfaces, 1 the surface's lines only
};
