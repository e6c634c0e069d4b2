#pragma once

// The UV outline of a flat panel piece, for the colouring of the pieces and
// the texture of the preview.

#include <QPolygon>

struct WholePoly;

// The uv of every outline point, in outline order for direction >= 1 and
// in reverse order for direction <= 0; empty for an empty outline.
QPolygon Get_UVPolyFromWholePoly(const WholePoly* piece, int direction);
