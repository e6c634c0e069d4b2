#include "geom/upindex.h"

int get_UPindex(const QPolygonF* P, int i, int k)
{
    if (!P || P->isEmpty() || i < 1 || k < 0 || k >= P->size())
        return i;
    const double xk = P->at(k).x();
    if (P->at(0).x() < xk)
        return i;
    for (int m = 1; m < i && m < P->size(); ++m)
        if (P->at(m).x() < xk)
            return m - 1;
    return i - 1;
}
