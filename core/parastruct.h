#pragma once

// The design record of one half wing (ParaStruct) and the shared state of a
// run of the main program (GlobClass).
//
// ParaStruct is one large value type of fixed capacity (about 1 MB): create
// it on the heap only (GetDataStruct, std::make_unique), never on the stack.
// Copy assignment copies the record member by member. The design's inputs
// and small working tables are inline arrays of plain values; the 17 MB the
// recompute derives from them (arc lengths, rib curves, the flat and
// inflated grids, the solver's grid, the oversizes) are DerivedTables, which
// a copy shares until one side writes to them.

#include <QColor>
#include <QHash>
#include <QList>
#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QString>
#include <QVector3D>
#include <QVector4D>

#include "core/bridledata.h"
#include "core/derivedtable.h"
#include "core/designspline.h"
#include "core/structuredata.h"

constexpr int kRibSlots = 65;        // slots of the per-rib tables
constexpr int kAirfoilSlots = 67;    // slots of the airfoil, index and foil-pair tables
constexpr int kStructSlots = 66;     // slots of some structure tables
constexpr int kLineRows = 9;         // line rows "O1", "O2", "A" .. "G"
constexpr int kAirfoilPoints = 1000; // points of a standard airfoil
constexpr int kChordStations = 70;   // chord stations of the solver mesh
constexpr int kMaxCells = 126;       // cells whose ribs the per-rib tables hold
constexpr int kMaxLastRib = 63;      // last rib slot that keeps the record consistent

// One foil pair of a rib: an upper and a lower point at the same chord position.
struct Par12 {
    int up = 0;
    int low = 0;
    double thickness = 0.0;
};

// A stored spare block, used by no operation.
struct ReservedRecord {
    double value = 0.2;
    int params[6] = {45, 0, 2, 3, 3, 1};
    QPointF pointsA[24];
    double table[5][24]{};
    QPointF pointsB[24];
};

// The design's rebuild flag. Raising it (assigning true) also gives the
// design a new revision, a number never used before in this run: a view
// that keeps the revision it last built from knows it must rebuild, without
// clearing a flag that other views read too. A design copied back on Cancel
// brings its old revision along, which differs from any later one as well.
class RebuildFlag
{
public:
    RebuildFlag& operator=(bool raise)
    {
        raised = raise;
        if (raise)
            number = ++lastRevision;
        return *this;
    }
    operator bool() const { return raised; }
    unsigned long long revision() const { return number; }

private:
    unsigned long long number = 0;
    bool raised = false;
    // Named so that copies carry zeros, not whatever the compiler left there:
    // records compare byte by byte in the tests.
    char padding[7]{};
    static inline unsigned long long lastRevision = 0;
};

class ParaStruct
{
public:
    ParaStruct();
    // The record has thousands of members: construction, copies and
    // destruction are compiled once, in parastruct.cpp, not in every caller.
    ParaStruct(const ParaStruct&);
    ParaStruct& operator=(const ParaStruct&);
    ~ParaStruct();

    // Cell bookkeeping from `cells`, then the line indexes and rib shifts.
    void Reset_CellsNumber();

    void SaveCanopyPos(const QPointF* points); // eight points into planControlPoints
    void GetCanopyPos(QPointF* points) const;  // eight points out of planControlPoints
    void SetFNodePos(const QPointF* points);   // four points into frontControlPoints
    void GetFacePos(QPointF* points) const;    // four points out of frontControlPoints

    // --- Wing outline (calcul3d.cpp). Plan units: half the span is 1000.
    void WingTipGeometrySetup();          // CalcFlatWingtip, CalcFrontTailCurve, CalculateFace
    void WingTipGeometrySetup(double twist); // the same with the twist given (degrees)
    void CalcFlatWingtip();               // rib positions, cell widths, chords
    void CalcFrontTailCurve();            // leading and trailing edge of every rib
    void CalculateFace();                 // front view along the base-line arc
    void CalculateFace(double twist);     // the same with the twist given (degrees)
    void Calculate_meta_Center(double fraction);
    void Calculate_Areas_Aspects();
    QVector3D Set_VHanging();             // hanging point in metres
    void SetPUPDW();                      // ribTailPoints
    double R_X(double length) const;      // plan units -> metres
    double ToScreen(double length) const; // metres -> plan units
    double scrlength_100() const;         // hang height in plan units
    double rib_glob_factor(int rib) const; // chord of the rib / chord of firstRib

    // --- Rib airfoils and foil pairs (calcul3d.cpp)
    void Setup_Wing_Airfoils();
    void Morph_Canopy_Airfoils(int a, int b, QPolygonF* A, QPolygonF* B);
    void Repair_Airfoils();
    void Setup_TransitionRibs();
    void FindNoseTopIndex(int rib);
    void Make_ParList12(int rib);
    void Create_FoilPairList();
    int Find_i1up_index(int rib, int low) const;
    void Fill_Airfoil_Arclen();
    void poly_ArcLen(QPolygonF airfoil, int rib);

    // --- Line attachment indexes (calcul3d.cpp)
    void Ribs_VirtualLineInd();
    void Reset_Dyn_LineInd();
    double f_delta_line_index(int rib) const;
    void CalculateResLines();
    void Create_WingFlexLines(int row);
    void Setup_LineIndProc();
    // Point of the airfoil at p.x in airfoil-editor coordinates (X = 40 + 560 x,
    // Y = -560 y) on side 'D' (lower) or any other side (upper); the segment
    // index goes to *index, -1 when none matches.
    QPointF NearPoint(QPointF p, char side, QPolygonF airfoil, int* index);
    int Find_PntIndex(QPointF p, char side, QPolygonF airfoil);
    QVector3D fine_point(int rib, int row) const;
    void f_finePnt3(QList<QVector3D> list, QVector3D P, double length, int a, int b,
                    QVector3D* out) const;
    bool is_Control(int index, int rib) const;
    bool is_UpDwControl(int index, int rib) const;
    bool is_diag_ctnr(int, int) const;
    bool isLoadedRib(int rib) const;

    // --- Group 1, identity and flags
    QString version;
    QString projectName;
    RebuildFlag geometryChanged;
    bool linesOutdated = false;

    // --- Group 2, editor control points
    QPointF planControlPoints[8];
    QPointF frontControlPoints[4];

    // --- Group 3, line rows and attachment indexes
    QPointF rowMarkers[kLineRows];
    int rowCentreIndex[kLineRows]{};
    int lineIndex[kLineRows][kRibSlots]{};      // [row][rib]
    int teLineIndex[kRibSlots]{};
    double resLineIndex[kLineRows][kRibSlots]{}; // [row][rib]
    int dynLineIndex[kLineRows][kRibSlots]{};    // [row][rib]
    double rowPercent[kLineRows]{};

    // --- Group 4, surface control points, nose rods and billow controls
    QPointF upControlMarkers[8];
    int upControlIndex[8]{};
    NoseRod rod1;
    NoseRod rod2;
    QPointF skinControlMarkers[6];
    int skinControlIndex[6]{};

    // --- Group 5, general data
    double span = 0.0;
    int cells = 0;
    double hangHeight = 0.0;
    double carabinerDistance = 0.0;
    double legaX = 0.0;
    QVector3D hangingPoint;
    double meanChord = 0.0;
    double billowReductionUp = 0.0;
    double billowReductionDown = 0.0;
    double reservedDouble1 = 0.0;
    double reservedDouble2 = 0.0;
    double reservedDouble3 = 0.0;
    double arcHeightPercent = 0.0;
    double flatteningPercent = 0.0;
    double wingFlexPercent[kLineRows]{};
    double maxTwistAngle = 0.0;
    double profileAlignment = 0.0;
    double ribTilt = 0.0;
    int cellWidthStep = 0;

    // --- Group 6, airfoils
    QString designAirfoilNames[4];
    QPolygonF designAirfoils[4];
    int transitionRib1 = 0;
    int transitionRib2 = 0;
    int positionAirfoilIndex[4]{};
    QPolygonF ribAirfoils[kAirfoilSlots];

    // --- Group 7, seam allowances, rib shifts and a stored spare table
    double seamAllowance[4]{};
    double ribShift[kRibSlots]{};
    double reservedTableValues[8][5]{};
    QString reservedTableNames[8][5];

    // --- Group 8, bridle
    int brakeCentreRib = 0;
    double brakeMiddleRelax = 0.0;
    double brakeEdgeRelax = 0.0;
    BridleData bridle;

    // --- Group 9, mini ribs, billow line, cell bookkeeping
    double reservedDouble4 = 0.0;
    MiniribData minirib;
    double billowLineOffset = 0.0;
    int billowLineIndex = 0;
    bool billowLineOnTop = false;
    double reservedDouble5 = 0.0;
    int sideCells = 0;
    int firstRib = 0;
    int lastRib = 0;
    int lastCell = 0;
    bool centreCell = false;
    bool centreRib = false;

    // --- Group 10, per-rib outline tables (plan and front view, plan units)
    double ribSpanPos[kRibSlots]{};
    double cellWidth[kRibSlots]{};
    double chord[kRibSlots]{};
    double leadingEdgeX[kRibSlots]{};
    double trailingEdgeX[kRibSlots]{};
    double frontY[kRibSlots]{};
    double frontZ[kRibSlots]{};
    double twistedLeadingEdgeX[kRibSlots]{};
    double ribAngle[kRibSlots]{};
    double frontArcLength = 0.0;
    int noseIndex[kAirfoilSlots]{};
    int topIndex[kAirfoilSlots]{};
    int bottomIndex[kAirfoilSlots]{};
    double reservedRibTable1[kRibSlots]{};
    double reservedRibTable2[kRibSlots]{};
    double reservedRibTable3[kRibSlots]{};
    double reservedRibTable4[kRibSlots]{};
    double reservedRibTable5[kRibSlots]{};
    double reservedRibTable6[kRibSlots]{};

    // --- Group 11, areas
    double flatArea = 0.0;
    double flatAspectRatio = 0.0;
    double projectedArea = 0.0;
    double projectedAspectRatio = 0.0;
    double metaCentre = 0.0;

    // --- Group 12, arc lengths and 3-D geometry
    // derived by the recompute, shared by copies of the record (derivedtable.h)
    DerivedTable<double[kAirfoilPoints][kStructSlots]> airfoilArcLen;          // [point][rib]
    DerivedTable<QVector3D[kRibSlots][kAirfoilPoints]> ribCurves3D;            // [rib][point]
    DerivedTable<QVector3D[kLineRows][kRibSlots][kAirfoilPoints]> flatGrid;    // [sub-row][cell][point]
    DerivedTable<QVector3D[kLineRows][kRibSlots][kAirfoilPoints]> inflatedGrid;
    DerivedTable<QVector3D[650][50]> meshGrid;
    QList<Par12> foilPairs[kAirfoilSlots];

    // --- Group 13, straps, rib parts and export state
    int strapWidth[kLineRows]{};        // [line row - 2], mm
    bool strapFixed[kLineRows]{};
    bool lineStrips[kLineRows][kRibSlots]{}; // [row][rib]
    bool reservedFlags1[8]{};
    bool reservedRibFlags[kStructSlots]{};
    bool rearRibEnabled[kStructSlots]{};
    bool frontRibEnabled[kStructSlots]{};
    double dxfScale = 0.0;

    // --- Group 14, analysis
    int reservedInt2 = 0;
    int reservedInt3 = 0;
    bool smoothModel = false;
    int chordStations[kChordStations]{};
    int chordStationCount = 0;
    double ropesMomentFactor = 0.0;
    double edgeTipFactor = 0.0;
    double holeEdgeFactor = 0.0;
    double reservedDouble6 = 0.0;
    double totalWeight = 0.0;
    double towForce = 0.0;
    double pilotArea = 0.0;
    double pilotCd = 0.0;
    double ropesCd = 0.0;
    double reservedDouble7 = 0.0;
    double reservedDouble8 = 0.0;
    double oswaldFactor = 0.0;
    double pilotShiftPercent = 0.0;
    // (The glide polar and the line totals it counts are the polar
    // window's: Polar, aero/polar.h.)

    // --- Group 15, derived working tables
    DerivedTable<double[kRibSlots][kAirfoilPoints]> patternOversize;   // [rib][point]
    DerivedTable<double[kRibSlots][kAirfoilPoints]> clothHalfOversize; // [rib][point]
    int reservedIntTable[8]{};
    double relaxFactors[kStructSlots]{};

    // --- Group 16, diagonal ribs
    int diagStartIndexA = 0;
    int diagStartIndexB = 0;
    int diagRowIndexA[8]{};
    int diagRowIndexB[8]{};
    int diagIndexTableA[8][kRibSlots]{}; // [row][rib]
    int diagIndexTableB[8][kRibSlots]{};
    double diagBottomWidth = 0.0;
    int diagTableRows[4][kStructSlots]{};
    int diagMask1 = 0;
    int diagMask2 = 0;
    DiagonalRow diagTableD1[kStructSlots];
    DiagonalRow diagTableD2[kStructSlots];
    QList<DiagonalData> diagonals;
    QPointF ribTailPoints[kStructSlots];

    // --- Group 17, export flags and design splines
    bool dxfExportOption = false;
    QList<Spline> designSplines;
    double controlPointDiameter = 0.0;

    // --- Group 18, line-group settings
    int lineWeights[8]{};
    int reservedInt4 = 0;
    double lineGroupShares[4]{};
    int lineGroupCount = 0;
    double lineGroupLoads[4]{};

    // --- Group 19, cross-ports, structure model and stored spare blocks
    CrossPorts crossPorts[kCrossPortGroups];
    int crossPortHoles = 0;
    int crossPortOffset = 0;
    double crossPortCorner = 0.0;
    // (The hole layout's working shapes and points are its own: HoleLayout,
    // structure/crossports.h.)
    int crossPortTriIndex[13]{};
    int trapIndexA[9]{};
    int trapIndexB[9]{};
    QPointF diagModelPoints[12];
    bool diagModelFlags[4]{};
    Triang diagModelTriangle;
    QList<QPolygonF> diagModelPolys;
    QPointF diagModelOutline[20];
    double reservedDouble9 = 0.0;
    double reservedDouble10 = 0.0;
    int reservedRibInts1[4][kStructSlots]{};
    int reservedRibInts2[4][kStructSlots]{};
    bool reservedFlags2[8]{};
    bool reservedFlags3[8]{};
    QPointF reservedPoints1[6][kRibSlots];
    QPointF reservedPoints2[6][kRibSlots];
    bool reservedPointFlags1[6][kRibSlots]{};
    bool reservedPointFlags2[6][kRibSlots]{};
    ReservedRecord reservedRecords[5];

    // --- Group 20, risers and design-side state
    QList<QVector4D> riserHashes[5]; // weighted 3-D points (w = weight) below each group root
    QVector3D riserTops[5];
    QList<QString> designWarnings;
    double billowReduction[kRibSlots]{};

private:
    void SetInitialValues();
};

// The live design record: created on the first call, never freed.
ParaStruct* GetDataStruct();

// The state of a run that is not part of a design. Never written to a file.
class GlobClass
{
public:
    GlobClass() = default;

    QPainterPath designPreviewPath;
    QList<QColor> pieceColours;
    QString appDir;
    QString workDir;
    QString projectsDir;
    QString dxfDir;                 // output directory of the current project
    QString airfoilsDir;
    QString appParentDir;
    QString prgPath;
    QString dsgPath;
    QString cnpPath;
    QList<QPolygon> uvPieces;
    int uvWidth = 0;
    int uvHeight = 0;
    bool termsAccepted = false;
};

// The shared state record: created on the first call, never freed.
GlobClass* GetGlobClass();
