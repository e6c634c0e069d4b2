#include "core/openfile.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <memory>

#include "core/notify.h"
#include "core/userinteraction.h"
#include "core/parastruct.h"
#include "core/projectsteps.h"

namespace {
using namespace projectfile;

constexpr QDataStream::Version kProjectStreamVersion = QDataStream::Qt_4_8; // 12
const QString kVersionTag = QStringLiteral("7.0.0.0");

// ---------------------------------------------------------------------------

class StreamWriter
{
public:
    explicit StreamWriter(QDataStream& s) : s(s) {}

    template <class T>
    void v(const T& value) { s << value; }
    void polygon(const QPolygonF& p)
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

class StreamReader
{
public:
    explicit StreamReader(QDataStream& s) : s(s) {}

    template <class T>
    void v(T& value) { s >> value; }

    // Counts are checked before anything is allocated for the points.
    void polygon(QPolygonF& p)
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
            p.append(q);
        }
    }

    bool versionAccepted(const QString& tag)
    {
        if (s.status() != QDataStream::Ok) {
            fail(QStringLiteral("the file is empty or cut short"));
            return false;
        }
        if (!tag.contains(kVersionTag)) {
            wrongVersion = true;
            fail(QStringLiteral("its version tag \"%1\" is not of version %2").arg(tag.left(40), kVersionTag));
            return false;
        }
        return true;
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
        return true;
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
    bool wrongVersion = false;
    int lastStep = 0;
};

// ---------------------------------------------------------------------------
// Values the record uses as indexes or counts must fit its tables.

QString rangeError(const char* name, int value, int lo, int hi)
{
    return QStringLiteral("%1 = %2 is outside %3 .. %4").arg(QLatin1String(name)).arg(value).arg(lo).arg(hi);
}

QString checkRecord(const ParaStruct& d)
{
    if (d.cells < 2 || d.cells > kMaxCells)
        return rangeError("the number of cells", d.cells, 2, kMaxCells);
    {
        const int firstRib = d.cells % 2;
        const int sideCells = (d.cells - firstRib) / 2;
        const int lastRib = sideCells + firstRib;
        if (d.firstRib != firstRib || d.sideCells != sideCells || d.lastRib != lastRib
            || d.lastCell != lastRib - 1 || d.centreCell != (firstRib == 1) || d.centreRib != (firstRib == 0))
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
// Reads and checks; the reason of a refusal goes to *reason.
bool readChecked(QDataStream& stream, ParaStruct& design, QString* reason, bool* wrongVersion)
{
    StreamReader reader(stream);
    projectSteps(reader, design);
    if (wrongVersion)
        *wrongVersion = reader.wrongVersion;
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
        return false;
    }
    return true;
}

bool readProject(QIODevice* device, ParaStruct* into, QString* reason, bool* wrongVersion)
{
    QDataStream stream(device);
    stream.setVersion(kProjectStreamVersion);
    // A fresh record: working and derived members start from their defaults.
    auto fresh = std::make_unique<ParaStruct>();
    if (!readChecked(stream, *fresh, reason, wrongVersion))
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

bool myOpenFile::WriteParaStream(const QString& path, const ParaStruct& design)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly) && Write_Project(&file, design);
    if (ok)
        ok = file.commit();
    else
        file.cancelWriting();
    if (!ok) {
        Notify_User(path + QStringLiteral(" warning *** :the project could not be saved (%1); the file on disk is unchanged ")
                               .arg(file.errorString()));
    }
    return ok;
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
        error = QStringLiteral("file is missing ");
        message = path + QStringLiteral(" warning *** :file is missing ");
        return false;
    }
    bool wrongVersion = false;
    QString reason;
    if (!readProject(&file, into, &reason, &wrongVersion)) {
        readStatus = wrongVersion ? WrongVersion : Corrupt;
        error = reason;
        message = path + QStringLiteral(" warning *** :the file was not opened: ") + reason;
        return false;
    }
    readStatus = ReadOk;
    return true;
}

QString myOpenFile::DialogReadFromFile(QWidget*, const QString& dir)
{
    return User().openFileName(QStringLiteral("Open File in work directory"), dir, kProjectFilter);
}

QString myOpenFile::DialogWriteToFile(QWidget*, const QString& dir)
{
    return User().saveFileName(QStringLiteral("Save File [as .. select a name]"), dir, kProjectFilter);
}

QString myOpenFile::DialogNewFile(QWidget*, const QString& dir)
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
