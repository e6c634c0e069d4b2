#pragma once

// Nose billow compensation and the skin-tension markers of rib 1.
//
// Between the nose and the billow line (marker 3 of the skin-tension strip)
// the inflated cloth runs a longer way than the flat rib outline; the
// pattern writers add half of that difference at the billow line so that
// the panel is cut to the inflated length. Airfoil points run from 0 (upper
// trailing edge) over the nose to 999 (lower trailing edge).

#include <QList>
#include <QPolygonF>

class ParaStruct;

// The tables from the nose backward (entry k belongs to airfoil point
// nose - k) and the entry of the billow line.
struct NoseBillow {
    QList<int> point;          // airfoil point of the entry
    QList<double> length;      // inflated length from the nose to the point
    QList<double> difference;  // |flat - inflated| / inflated length (0 for no length)
    // The entry of the billow line; -1 when the marker lies outside the tables.
    int lineIndex = -1;
    double lineDifference = 0.0;
    double lineLength = 0.0;
    // Half of the length the inflated cloth adds between the nose and the
    // billow line, in the outlines' units.
    double lineOffset = 0.0;

    bool found() const { return lineIndex >= 0; }
};

// The tables of the flat outline `flat` and its inflated shape `inflated`
// (same point numbering) from point `nose` back to the billow line at point
// `marker`: they run from the nose down to the marker, or to the middle of
// the upper side when the marker lies behind it. Empty tables when either
// outline has fewer than two common points.
NoseBillow Nose_Billow(const QPolygonF& flat, const QPolygonF& inflated, int nose, int marker);

// The tables of rib 1 of the design with its inflated shape at the current
// skin tension and the billow line at marker 3.
NoseBillow Design_Nose_Billow(const ParaStruct* design);

// Computes the tables of rib 1 and stores the billow line's point and offset
// in the design (billowLineIndex, billowLineOffset); a design whose marker
// lies outside the tables keeps its line. Returns the tables.
NoseBillow Billow_Compensation(ParaStruct* design);

// The airfoil points marker i (1 to 5) of the skin-tension strip may take
// on rib 1: 1 upper side between the highest point and the nose, 2 lower
// side between the second line row and the lowest point, 3 (the billow
// line) from the highest point to the nose, 4 and 5 toward the upper and
// lower trailing edge; three points of distance from the bounds.
struct IndexRange {
    int lo = 0;
    int hi = 999;
};
IndexRange Skin_Marker_Range(const ParaStruct& design, int marker);

// Keeps skinControlIndex[marker] inside its range; other markers are ignored.
void Limit_Skin_Marker(ParaStruct* design, int marker);

// Position of airfoil point j along the chord from the nose (0 %) to the
// trailing edge at point 0 (100 %); 0 for a point the foil does not have or
// a foil without chord.
double Chord_Percent(const QPolygonF& foil, int nose, int j);

// Whether the inflated outline folds over at the nose: one of the four
// points before the nose (nose - 5 .. nose - 2) does not lie at least
// 0.0001 behind it in x. False for too short an outline.
bool Nose_Folded(const QPolygonF& inflated, int nose);
