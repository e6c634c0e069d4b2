#include "core/openfile.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <QVersionNumber>

#include <cerrno>
#include <cmath>
#include <memory>
#include <type_traits>

#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/filesave.h"
#include "core/notify.h"
#include "core/userinteraction.h"
#include "core/parastruct.h"
#include "core/projectsteps.h"

namespace {
using namespace projectfile;

constexpr QDataStream::Version kProjectStreamVersion = QDataStream::Qt_4_8; // 12
const QString kVersionTag = QStringLiteral("7.0.0.0");
constexpr int kLastStep = 40;

// How a version tag stands to the version this program reads and writes.
// The tag is compared as a version: "17.0.0.0" is not "7.0.0.0" with a
// digit before it but a later version, and a tag that is no version number
// at all names no version.
enum class TagAge { NotAVersion, Older, Supported, Newer };

TagAge tagAge(const QString& tag)
{
    static const QRegularExpression version(QStringLiteral("^\\d+(\\.\\d+)*$"));
    const QString t = tag.trimmed();
    if (!version.match(t).hasMatch())
        return TagAge::NotAVersion;
    // Digits beyond what a segment holds make no version either.
    qsizetype end = 0;
    const QVersionNumber v = QVersionNumber::fromString(t, &end).normalized();
    if (end != t.size())
        return TagAge::NotAVersion;
    const int c = QVersionNumber::compare(v, QVersionNumber::fromString(kVersionTag).normalized());
    return c < 0 ? TagAge::Older : c > 0 ? TagAge::Newer : TagAge::Supported;
}

// ---------------------------------------------------------------------------

class StreamWriter
{
public:
    explicit StreamWriter(QDataStream& s) : s(s) {}

    template <class T>
    void v(const T& value) { s << value; }
    template <class T>
    void v(const T& value, const Field&) { s << value; }
    void polygon(const QPolygonF& p, const Field&)
    {
        s << quint32(p.size());
        for (const QPointF& q : p)
            s << q;
    }
    bool versionAccepted(const QString&) { return true; }
    bool stepDone(int) { return s.status() == QDataStream::Ok; }

private:
    QDataStream& s;
};

// The value types of the field list: those made of floating-point numbers,
// which the reader checks, and the others. A new type must join one list.
template <class T>
constexpr bool kFloating = std::is_same_v<T, double> || std::is_same_v<T, QPointF> || std::is_same_v<T, QVector3D>;
template <class T>
constexpr bool kExact = std::is_same_v<T, int> || std::is_same_v<T, bool> || std::is_same_v<T, QString>
                     || std::is_same_v<T, QPoint>;

bool finite(double x) { return std::isfinite(x); }
bool finite(const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }
bool finite(const QVector3D& p) { return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z()); }

bool within(double x, Range r) { return r.holds(x); }
bool within(const QPointF& p, Range r) { return r.holds(p.x()) && r.holds(p.y()); }
bool within(const QVector3D& p, Range r) { return r.holds(p.x()) && r.holds(p.y()) && r.holds(p.z()); }

// A refused value is quoted with every digit it needs to be told from the
// bound it broke (10000.000000000002 is not 10000).
QString shown(double x) { return Shortest_Number(x); }
QString shown(const QPointF& p)
{
    return QStringLiteral("(%1, %2)").arg(Shortest_Number(p.x()), Shortest_Number(p.y()));
}
QString shown(const QVector3D& p)
{
    return QStringLiteral("(%1, %2, %3)").arg(Shortest_Number(p.x()), Shortest_Number(p.y()), Shortest_Number(p.z()));
}

class StreamReader
{
public:
    explicit StreamReader(QDataStream& s) : s(s) {}

    template <class T>
    void v(T& value)
    {
        static_assert(kExact<T>, "a floating-point field names itself, so that a refusal can say which");
        s >> value;
    }

    // A number that is not finite, or far outside what any wing has, would
    // run through every computation, view and output file of the design:
    // the whole file is refused, naming the first such field.
    template <class T>
    void v(T& value, const Field& field)
    {
        static_assert(kFloating<T>, "only floating-point fields are checked for finite numbers");
        s >> value;
        if (s.status() != QDataStream::Ok)
            return;
        if (!finite(value))
            refuseNumber(field.text(), shown(value));
        else if (!within(value, field.range))
            refuseRange(field.text(), shown(value), field.range);
    }

    // Counts are checked before anything is allocated for the points.
    void polygon(QPolygonF& p, const Field& field)
    {
        p.clear();
        quint32 n = 0;
        s >> n;
        if (s.status() != QDataStream::Ok)
            return;
        if (n > quint32(kAirfoilPoints)) {
            fail(QStringLiteral("a polygon of %1 points is stored where at most %2 fit").arg(n).arg(kAirfoilPoints));
            return;
        }
        p.reserve(int(n));
        for (quint32 k = 0; k < n && s.status() == QDataStream::Ok; ++k) {
            QPointF q;
            s >> q;
            if (s.status() == QDataStream::Ok && !finite(q)) {
                refuseNumber(QStringLiteral("%1 (point %2)").arg(field.text()).arg(k), shown(q));
                return;
            }
            if (s.status() == QDataStream::Ok && !within(q, field.range)) {
                refuseRange(QStringLiteral("%1 (point %2)").arg(field.text()).arg(k), shown(q), field.range);
                return;
            }
            p.append(q);
        }
    }

    bool versionAccepted(const QString& tag)
    {
        versionTag = tag;
        if (s.status() != QDataStream::Ok) {
            fail(QStringLiteral("the file is empty or cut short"));
            return false;
        }
        switch (tagAge(tag)) {
        case TagAge::Supported:
            return true;
        case TagAge::NotAVersion:
            fail(QStringLiteral("its version tag \"%1\" is not a version number").arg(tag.left(40)));
            return false;
        case TagAge::Older:
        case TagAge::Newer:
            break;
        }
        wrongVersion = true;
        fail(QStringLiteral("its version tag \"%1\" is not of version %2").arg(tag.left(40), kVersionTag));
        return false;
    }

    bool stepDone(int step)
    {
        if (s.status() != QDataStream::Ok) {
            if (reason.isEmpty()) {
                fail(s.status() == QDataStream::ReadPastEnd
                         ? QStringLiteral("the file is cut short (in part %1 of 40)").arg(step)
                         : QStringLiteral("the file holds unreadable data (in part %1 of 40)").arg(step));
            }
            return false;
        }
        lastStep = step;
        // An older file ends cleanly after step 35; the later steps keep
        // their defaults.
        if (step == kOlderFileSteps && s.atEnd())
            return false;
        // Bytes after the last step are left unread, as they always were:
        // the version tag has stayed "7.0.0.0" while steps were appended, so
        // a later writer may append more, and copies padded by a transfer
        // must still open. Nothing in the record depends on them; a save
        // writes the forty steps only, so they are counted for the user.
        if (step == kLastStep && s.device())
            unread = s.device()->bytesAvailable();
        return true;
    }

    void refuseNumber(const QString& field, const QString& value)
    {
        if (!reason.isEmpty())
            return;
        notFinite = true;
        fail(QStringLiteral("the field %1 holds %2, not a finite number (in part %3 of 40)")
                 .arg(field, value).arg(lastStep + 1));
    }

    void refuseRange(const QString& field, const QString& value, Range range)
    {
        if (!reason.isEmpty())
            return;
        outOfRange = true;
        fail(QStringLiteral("the field %1 holds %2, outside the plausible range %3 .. %4 (in part %5 of 40)")
                 .arg(field, value, Shortest_Number(range.lo), Shortest_Number(range.hi))
                 .arg(lastStep + 1));
    }

    void fail(const QString& why)
    {
        if (reason.isEmpty())
            reason = why;
        if (s.status() == QDataStream::Ok)
            s.setStatus(QDataStream::ReadCorruptData);
    }

    QDataStream& s;
    QString reason;
    QString versionTag;
    bool wrongVersion = false;
    bool notFinite = false;
    bool outOfRange = false;
    int lastStep = 0;
    qint64 unread = 0; // bytes after the last step
};

// ---------------------------------------------------------------------------
// Values the record uses as indexes or counts must fit its tables.

// Bounds of stored counts and sizes that no wing comes near.
constexpr int kMaxCount = 100000;
constexpr int kMaxMillimetres = 100000;

QString rangeError(const char* name, int value, int lo, int hi)
{
    return QStringLiteral("%1 = %2 is outside %3 .. %4").arg(QLatin1String(name)).arg(value).arg(lo).arg(hi);
}

// A wing with more ribs on a side than the per-rib tables hold.
bool tooManyRibs(const ParaStruct& d)
{
    return d.lastRib > kRibSlots;
}

QString checkRecord(const ParaStruct& d)
{
    if (tooManyRibs(d))
        return QStringLiteral("the wing has %1 ribs on a side where at most %2 fit").arg(d.lastRib).arg(kRibSlots);
    if (d.cells < kMinCells || d.cells > kMaxCells)
        return rangeError("the number of cells", d.cells, kMinCells, kMaxCells);
    {
        const RibLayout r = Rib_Layout(d.cells);
        if (d.firstRib != r.firstRib || d.sideCells != r.sideCells || d.lastRib != r.lastRib
            || d.lastCell != r.lastCell || d.centreCell != r.centreCell || d.centreRib != r.centreRib)
            return QStringLiteral("the rib bookkeeping does not match %1 cells").arg(d.cells);
    }

    auto inRange = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    const int lastPoint = kAirfoilPoints - 1;

    for (int i = 0; i < kRibSlots; ++i) {
        if (!inRange(d.noseIndex[i], 0, lastPoint))
            return rangeError("a nose index", d.noseIndex[i], 0, lastPoint);
        if (!inRange(d.topIndex[i], 0, lastPoint))
            return rangeError("a top index", d.topIndex[i], 0, lastPoint);
        if (!inRange(d.bottomIndex[i], 0, lastPoint))
            return rangeError("a bottom index", d.bottomIndex[i], 0, lastPoint);
        for (int r = 0; r < kLineRows; ++r)
            if (!inRange(d.lineIndex[r][i], 0, lastPoint))
                return rangeError("a line attachment index", d.lineIndex[r][i], 0, lastPoint);
        if (!inRange(d.diagTableD1[i].rib, -1, kStructSlots - 1))
            return rangeError("a rib of the diagonal table D1", d.diagTableD1[i].rib, -1, kStructSlots - 1);
        if (!inRange(d.diagTableD2[i].rib, -1, kStructSlots - 1))
            return rangeError("a rib of the diagonal table D2", d.diagTableD2[i].rib, -1, kStructSlots - 1);
    }
    for (int r = 0; r < kLineRows; ++r)
        if (!inRange(d.rowCentreIndex[r], -1, lastPoint))
            return rangeError("a line row index", d.rowCentreIndex[r], -1, lastPoint);
    for (int k = 0; k < 8; ++k)
        if (!inRange(d.upControlIndex[k], 0, lastPoint))
            return rangeError("an upper control index", d.upControlIndex[k], 0, lastPoint);
    if (!inRange(d.billowLineIndex, 0, lastPoint))
        return rangeError("the billow line index", d.billowLineIndex, 0, lastPoint);
    for (int k = 0; k < 4; ++k)
        if (!inRange(d.positionAirfoilIndex[k], 0, 3))
            return rangeError("a design airfoil choice", d.positionAirfoilIndex[k], 0, 3);
    if (!inRange(d.brakeCentreRib, 0, kRibSlots - 1))
        return rangeError("the brake centre rib", d.brakeCentreRib, 0, kRibSlots - 1);
    if (!inRange(d.lineGroupCount, 0, 4))
        return rangeError("the number of line groups", d.lineGroupCount, 0, 4);
    if (!inRange(d.chordStationCount, 0, kChordStations - 1))
        return rangeError("the number of chord stations", d.chordStationCount, 0, kChordStations - 1);

    // Counts and point offsets that the computations take as they stand:
    // plausible bounds, far from where their arithmetic would overflow. Point
    // indexes and offsets that the computations clamp or derive may lie
    // beyond the airfoil (a fresh record's billow controls do).
    const int pointLimit = 10 * kAirfoilPoints;
    for (int k = 0; k < 2; ++k) {
        if (!inRange(d.rod1.index[k], -pointLimit, pointLimit))
            return rangeError("a point count of the upper nose rod", d.rod1.index[k], -pointLimit, pointLimit);
        if (!inRange(d.rod2.index[k], -pointLimit, pointLimit))
            return rangeError("a point count of the lower nose rod", d.rod2.index[k], -pointLimit, pointLimit);
    }
    for (int k = 0; k < 6; ++k)
        if (!inRange(d.skinControlIndex[k], -pointLimit, pointLimit))
            return rangeError("a billow control index", d.skinControlIndex[k], -pointLimit, pointLimit);
    for (int v : {d.minirib.frontRibStart, d.minirib.frontRibEnd, d.minirib.mylarStart, d.minirib.mylarEnd})
        if (!inRange(v, 0, kAirfoilPoints))
            return rangeError("a mini-rib or mylar extent", v, 0, kAirfoilPoints);
    for (int v : {d.transitionRib1, d.transitionRib2})
        if (!inRange(v, 0, kRibSlots))
            return rangeError("a transition rib", v, 0, kRibSlots);
    for (int v : d.strapWidth)
        if (!inRange(v, 0, kMaxMillimetres))
            return rangeError("a strap width", v, 0, kMaxMillimetres);
    for (int v : d.lineWeights)
        if (!inRange(v, -kMaxCount, kMaxCount))
            return rangeError("a line weight", v, -kMaxCount, kMaxCount);
    if (!inRange(d.cellWidthStep, -kMaxCount, kMaxCount))
        return rangeError("the cell width step", d.cellWidthStep, -kMaxCount, kMaxCount);
    auto checkShape = [&](int holes, int corners, int offsetMm) -> QString {
        if (!inRange(holes, 0, kMaxCount))
            return rangeError("the number of holes of a cut-out", holes, 0, kMaxCount);
        if (!inRange(corners, -kMaxCount, kMaxCount))
            return rangeError("the corner rounding of a cut-out", corners, -kMaxCount, kMaxCount);
        if (!inRange(offsetMm, -kMaxMillimetres, kMaxMillimetres))
            return rangeError("the web width of a cut-out", offsetMm, -kMaxMillimetres, kMaxMillimetres);
        return QString();
    };
    for (const CrossPorts& g : d.crossPorts) {
        for (const auto& t : g.triangles)
            if (const QString why = checkShape(t.holeCount, t.cornerCount, t.offsetMm); !why.isEmpty())
                return why;
        for (const auto& t : g.traps)
            if (const QString why = checkShape(t.holeCount, t.cornerCount, t.offsetMm); !why.isEmpty())
                return why;
    }
    if (const QString why = checkShape(d.diagModelTriangle.holeCount, d.diagModelTriangle.cornerCount,
                                       d.diagModelTriangle.offsetMm);
        !why.isEmpty())
        return why;
    // Airfoil point indexes the structure computations derive and store.
    struct IndexTable {
        const char* name;
        const int* values;
        int count;
    };
    const IndexTable derived[] = {
        {"a diagonal start index", &d.diagStartIndexA, 1},
        {"a diagonal start index", &d.diagStartIndexB, 1},
        {"a diagonal row index", d.diagRowIndexA, 8},
        {"a diagonal row index", d.diagRowIndexB, 8},
        {"a cut-out index", d.trapIndexA, 9},
        {"a cut-out index", d.trapIndexB, 9},
        {"a cross-port index", d.crossPortTriIndex, 13},
        {"a diagonal index", &d.diagIndexTableA[0][0], 8 * kRibSlots},
        {"a diagonal index", &d.diagIndexTableB[0][0], 8 * kRibSlots},
    };
    const int lo = -pointLimit, hi = pointLimit;
    for (const IndexTable& t : derived)
        for (int k = 0; k < t.count; ++k)
            if (!inRange(t.values[k], lo, hi))
                return rangeError(t.name, t.values[k], lo, hi);
    for (int i = 0; i < kStoredRibs; ++i) {
        for (const DiagonalRow* row : {&d.diagTableD1[i], &d.diagTableD2[i]}) {
            if (!inRange(row->heightPercent, -kMaxCount, kMaxCount))
                return rangeError("the height of a diagonal end", row->heightPercent, -kMaxCount, kMaxCount);
            for (int k : row->lineIndex)
                if (!inRange(k, lo, hi))
                    return rangeError("a diagonal end index", k, lo, hi);
        }
    }

    auto checkGroup = [&](const BridleGroup& g, bool attachments) -> QString {
        const int counts[5] = {g.idCount, g.pointCount, g.lineCount, g.pairCount, g.attachmentCount};
        for (int c : counts)
            if (!inRange(c, 0, kLineEntries))
                return rangeError("a line group count", c, 0, kLineEntries);
        for (int e = 0; e < g.pairCount; ++e) {
            const QPoint& p = g.pairArray[e];
            if (!inRange(p.x(), 0, kLineEntries - 1) || !inRange(p.y(), 0, kLineEntries - 1))
                return QStringLiteral("a line of a line group joins nodes (%1, %2) outside 0 .. %3")
                    .arg(p.x()).arg(p.y()).arg(kLineEntries - 1);
        }
        if (attachments) {
            for (const origRLS& a : g.attachArray) {
                if (!inRange(a.rib, -1, kRibSlots - 1))
                    return rangeError("the rib of a line attachment", a.rib, -1, kRibSlots - 1);
                if (!inRange(a.row, -1, kFrameSlots - 1))
                    return rangeError("the frame slot of a line attachment", a.row, -1, kFrameSlots - 1);
                if (!inRange(a.side, -1, 1))
                    return rangeError("the side of a line attachment", a.side, -1, 1);
                if (!inRange(a.node, -1, kLineEntries - 1))
                    return rangeError("the node of a line attachment", a.node, -1, kLineEntries - 1);
            }
        }
        return QString();
    };
    for (const BridleGroup& g : d.bridle.groups) {
        const QString why = checkGroup(g, true);
        if (!why.isEmpty())
            return why;
    }
    return checkGroup(d.bridle.riserGroup, false);
}

} // namespace

// ---------------------------------------------------------------------------

QDataStream& operator<<(QDataStream& stream, const ParaStruct& design)
{
    StreamWriter writer(stream);
    projectSteps(writer, design);
    return stream;
}

namespace {
using namespace projectfile;
enum class Refusal { None, WrongVersion, NotFinite, OutOfRange, TooManyRibs, Other };

// Reads and checks; the reason of a refusal goes to *reason, its kind to
// *kind, the version tag read to *tag.
bool readChecked(QDataStream& stream, ParaStruct& design, QString* reason, Refusal* kind, QString* tag = nullptr,
                 qint64* unread = nullptr)
{
    StreamReader reader(stream);
    projectSteps(reader, design);
    if (tag)
        *tag = reader.versionTag;
    if (unread)
        *unread = reader.unread;
    if (kind)
        *kind = reader.wrongVersion ? Refusal::WrongVersion
              : reader.notFinite    ? Refusal::NotFinite
              : reader.outOfRange   ? Refusal::OutOfRange
              : stream.status() != QDataStream::Ok ? Refusal::Other
                                                    : Refusal::None;
    if (stream.status() != QDataStream::Ok) {
        if (reason)
            *reason = reader.reason.isEmpty() ? QStringLiteral("the file cannot be read") : reader.reason;
        return false;
    }
    const QString why = checkRecord(design);
    if (!why.isEmpty()) {
        stream.setStatus(QDataStream::ReadCorruptData);
        if (reason)
            *reason = why;
        if (kind)
            *kind = tooManyRibs(design) ? Refusal::TooManyRibs : Refusal::Other;
        return false;
    }
    return true;
}

bool readProject(QIODevice* device, ParaStruct* into, QString* reason, Refusal* kind, QString* tag = nullptr,
                 qint64* unread = nullptr)
{
    QDataStream stream(device);
    stream.setVersion(kProjectStreamVersion);
    // A fresh record: working and derived members start from their defaults.
    auto fresh = std::make_unique<ParaStruct>();
    if (!readChecked(stream, *fresh, reason, kind, tag, unread))
        return false;
    *into = *fresh;
    return true;
}
} // namespace

QDataStream& operator>>(QDataStream& stream, ParaStruct& design)
{
    readChecked(stream, design, nullptr, nullptr);
    return stream;
}

bool Write_Project(QIODevice* device, const ParaStruct& design)
{
    QDataStream stream(device);
    stream.setVersion(kProjectStreamVersion);
    stream << design;
    return stream.status() == QDataStream::Ok;
}

bool Read_Project(QIODevice* device, ParaStruct* into, QString* reason)
{
    return readProject(device, into, reason, nullptr);
}

QByteArray Project_File_Bytes(const ParaStruct& design)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!Write_Project(&buffer, design))
        return QByteArray();
    return bytes;
}

QByteArray Checked_Project_File_Bytes(const ParaStruct& design, QString* refusal)
{
    QByteArray bytes = Project_File_Bytes(design);
    QString why;
    if (bytes.isEmpty()) {
        why = QStringLiteral("the design could not be put into the file format");
    } else {
        // Read back as Open reads a file: the same steps, ranges and checks.
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QDataStream stream(&buffer);
        stream.setVersion(kProjectStreamVersion);
        auto scratch = std::make_unique<ParaStruct>();
        if (readChecked(stream, *scratch, &why, nullptr))
            return bytes;
    }
    if (refusal)
        *refusal = why;
    return QByteArray();
}

bool Version_Tag_Is_Newer(const QString& tag)
{
    return tagAge(tag) == TagAge::Newer;
}

// ---------------------------------------------------------------------------

namespace {
const QString kProjectFilter = QStringLiteral("Files (*.prg)");
} // namespace

myOpenFile::myOpenFile(QObject* parent) : QObject(parent) {}

myOpenFile::~myOpenFile() = default;

bool myOpenFile::WriteParaStream(const QString& path)
{
    return WriteParaStream(path, *GetDataStruct());
}

bool myOpenFile::WriteParaStream(const QString& path, const ParaStruct& design, Report)
{
    saveError = FileSaveResult();
    saveRefusal.clear();
    if (path.isEmpty())
        return false;
    // A design that Open would refuse is not written: the file on disk stays
    // the last one that can be opened.
    const QByteArray bytes = Checked_Project_File_Bytes(design, &saveRefusal);
    if (bytes.isEmpty())
        return false;
    saveError = Save_File(path, bytes);
    return saveError.ok();
}

QString myOpenFile::lastSaveFailure() const
{
    if (!saveRefusal.isEmpty())
        return QStringLiteral("the design could not be opened again from the file: %1. Nothing was written.")
            .arg(saveRefusal);
    return saveError.reason() + QStringLiteral(". ") + saveError.advice();
}

bool myOpenFile::WriteParaStream(const QString& path, const ParaStruct& design)
{
    const bool written = WriteParaStream(path, design, Report::Silently);
    if (!written && !path.isEmpty()) {
        Notify_User(path + QStringLiteral(" warning *** :the project could not be saved: %1 The file on disk is "
                                          "unchanged.")
                               .arg(lastSaveFailure()));
    }
    return written;
}

bool myOpenFile::ReadParaStream(const QString& path, ParaStruct* into)
{
    const bool ok = ReadParaStream(path, into, Report::Silently);
    if (!ok && !message.isEmpty())
        Notify_User(message);
    return ok;
}

bool myOpenFile::ReadParaStream(const QString& path, ParaStruct* into, Report)
{
    error.clear();
    message.clear();
    versionTag.clear();
    unreadBytes = 0;
    if (path.isEmpty()) {
        readStatus = EmptyPath;
        return false;
    }
    if (!QFileInfo::exists(path)) {
        readStatus = FileMissing;
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        readStatus = CannotOpen;
        error = QStringLiteral("the file cannot be opened: ") + file.errorString();
        message = path + QStringLiteral(" warning *** :file is missing ");
        return false;
    }
    Refusal kind = Refusal::None;
    QString reason;
    if (!readProject(&file, into, &reason, &kind, &versionTag, &unreadBytes)) {
        switch (kind) {
        case Refusal::WrongVersion: readStatus = WrongVersion; break;
        case Refusal::NotFinite: readStatus = NotFinite; break;
        case Refusal::OutOfRange: readStatus = OutOfRange; break;
        case Refusal::TooManyRibs: readStatus = TooManyRibs; break;
        default: readStatus = Corrupt; break;
        }
        error = reason;
        message = path + QStringLiteral(" warning *** :the file was not opened: ") + reason;
        return false;
    }
    readStatus = ReadOk;
    return true;
}

QString myOpenFile::DialogReadFromFile(const QString& dir)
{
    return User().openFileName(QStringLiteral("Open File in work directory"), dir, kProjectFilter);
}

QString myOpenFile::DialogWriteToFile(const QString& dir)
{
    return User().saveFileName(QStringLiteral("Save File [as .. select a name]"), dir, kProjectFilter);
}

QString myOpenFile::DialogNewFile(const QString& dir)
{
    return User().saveFileName(QStringLiteral("Enter New file [name.prg] and Save "), dir, kProjectFilter);
}

void WriteLogFile(const QString& text)
{
    QFile file(GetGlobClass()->dxfDir + QStringLiteral("/wingloft.log"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QTextStream out(&file);
    out << " \n" << text;
}
