#include "shape/billow.h"

#include "core/billowarc.h"
#include "core/parastruct.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>

NoseBillow Nose_Billow(const QPolygonF& flat, const QPolygonF& inflated, int nose, int marker)
{
    NoseBillow out;
    const int last = int(std::min(flat.size(), inflated.size())) - 1;
    if (last < 1)
        return out;
    const int N = std::clamp(nose, 0, last - 1);
    // The tables reach at least down to the marker, so that its entry is
    // always a computed one.
    const int lowest = std::max(0, std::min(N / 2 + 1, marker));
    double a = 0;
    double b = 0;
    for (int j = N; j >= lowest; --j) {
        a += Dist2(flat.at(j + 1), flat.at(j));
        b += Dist2(inflated.at(j + 1), inflated.at(j));
        out.point.append(j);
        out.length.append(b);
        out.difference.append(b > 0 ? std::fabs(a - b) / b : 0.0);
    }
    const int k = N - marker;
    if (k < 0 || k >= out.point.size())
        return out;
    out.lineIndex = out.point.at(k);
    out.lineDifference = out.difference.at(k);
    out.lineLength = out.length.at(k);
    out.lineOffset = 0.5 * out.lineLength * out.lineDifference;
    return out;
}

NoseBillow Design_Nose_Billow(const ParaStruct* design)
{
    if (!design)
        return {};
    const QPolygonF& flat = design->ribAirfoils[1];
    if (flat.size() < 2)
        return {};
    const QPolygonF inflated = skint_dinamic(design, 1, 'D', 1.0, flat);
    const int first = std::clamp(design->firstRib, 0, kAirfoilSlots - 1);
    return Nose_Billow(flat, inflated, design->noseIndex[first], design->skinControlIndex[3]);
}

NoseBillow Billow_Compensation(ParaStruct* design)
{
    NoseBillow billow = Design_Nose_Billow(design);
    if (billow.found()) {
        design->billowLineIndex = billow.lineIndex;
        design->billowLineOffset = billow.lineOffset;
    }
    return billow;
}

IndexRange Skin_Marker_Range(const ParaStruct& design, int marker)
{
    const int nose = design.noseIndex[1];
    const int top = design.topIndex[1];
    const int bottom = design.bottomIndex[1];
    switch (marker) {
    case 1: return {top + 3, nose - 3};
    case 2: return {design.lineIndex[1][1] + 3, bottom - 3};
    case 3: return {top, nose - 3};
    case 4: return {3, top - 3};
    case 5: return {bottom + 3, 997};
    default: return {};
    }
}

void Limit_Skin_Marker(ParaStruct* design, int marker)
{
    if (!design || marker < 1 || marker > 5)
        return;
    const IndexRange r = Skin_Marker_Range(*design, marker);
    int& index = design->skinControlIndex[marker];
    // The lower bound wins where a zone is too narrow for its margins.
    index = std::max(r.lo, std::min(r.hi, index));
}

double Chord_Percent(const QPolygonF& foil, int nose, int j)
{
    auto x = [&foil](int i) { return (i >= 0 && i < foil.size()) ? foil.at(i).x() : 0.0; };
    const double chord = x(0) - x(nose);
    return chord != 0 ? (x(j) - x(nose)) * 100 / chord : 0.0;
}

bool Nose_Folded(const QPolygonF& inflated, int nose)
{
    if (nose < 5 || nose >= inflated.size())
        return false;
    for (int k = nose - 5; k <= nose - 2; ++k)
        if (!(inflated.at(k).x() >= inflated.at(nose).x() + 0.0001))
            return true;
    return false;
}
