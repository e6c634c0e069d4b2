#include "graphics/pieceuv.h"

#include "patterns/pieces.h"

QPolygon Get_UVPolyFromWholePoly(const WholePoly* piece, int direction)
{
    QPolygon uv;
    if (!piece)
        return uv;
    uv.reserve(piece->outline.size());
    if (direction >= 1) {
        for (const PntPart& p : piece->outline)
            uv.append(p.uv);
    } else {
        for (int i = piece->outline.size() - 1; i >= 0; --i)
            uv.append(piece->outline.at(i).uv);
    }
    return uv;
}
