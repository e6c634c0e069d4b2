#pragma once

// Reads a DXF file with a real DXF reader (Debian's python3-ezdxf): loads it,
// audits it and returns a summary as JSON:
//   {"ok": bool, "error": str, "version": str, "audit_errors": n, "audit_fixes": n,
//    "lines": [[layer, colour, x1, y1, z1, x2, y2, z2], ...],
//    "texts": [[layer, text, x, y, height, rotation], ...]}

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

// Runs a Python script on the file and returns the JSON object it prints
// (or {"error": ...} when it printed none).
inline QJsonObject RunDxfScript(const char* script, const QString& path)
{
    QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python))
        python = QStringLiteral("python3");
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QString::fromLatin1(script), path});
    // However long a busy machine takes: a hang ends with the test.
    if (!p.waitForFinished(-1)) {
        QJsonObject o;
        o.insert(QStringLiteral("error"), QStringLiteral("the DXF reader did not run"));
        return o;
    }
    QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    if (o.isEmpty())
        o.insert(QStringLiteral("error"), QString::fromLocal8Bit(p.readAllStandardError()));
    return o;
}

inline QJsonObject ReadDxfWithEzdxf(const QString& path)
{
    static const char* script = R"PY(
import json, sys
out = {"ok": False, "error": ""}
try:
    import ezdxf
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    out["version"] = doc.dxfversion
    out["audit_errors"] = len(auditor.errors)
    out["audit_fixes"] = len(auditor.fixes)
    lines, texts, other = [], [], []
    for e in doc.modelspace():
        t = e.dxftype()
        if t == "LINE":
            s, d = e.dxf.start, e.dxf.end
            lines.append([e.dxf.layer, e.dxf.color, s.x, s.y, s.z, d.x, d.y, d.z])
        elif t == "TEXT":
            p = e.dxf.insert
            texts.append([e.dxf.layer, e.dxf.text, p.x, p.y, e.dxf.height, e.dxf.rotation])
        else:
            other.append(t)
    out.update(lines=lines, texts=texts, other=other, ok=True)
except Exception as exc:
    out["error"] = repr(exc)
print(json.dumps(out))
)PY";
    return RunDxfScript(script, path);
}

// Loads and audits a DXF file with ezdxf and counts the entities of its model
// space per layer and type: {"ok": bool, "error": str, "audit_errors": n,
// "counts": {"LAYER TYPE": n, ...}}. Cheaper than ReadDxfWithEzdxf for large
// drawings: no coordinates travel back.
inline QJsonObject CountDxfLayersWithEzdxf(const QString& path)
{
    static const char* script = R"PY(
import json, sys
out = {"ok": False, "error": ""}
try:
    import ezdxf
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    out["audit_errors"] = len(auditor.errors)
    counts = {}
    for e in doc.modelspace():
        key = e.dxf.layer + " " + e.dxftype()
        counts[key] = counts.get(key, 0) + 1
    out.update(counts=counts, ok=True)
except Exception as exc:
    out["error"] = repr(exc)
print(json.dumps(out))
)PY";
    return RunDxfScript(script, path);
}

// Reads a DXF file with ezdxf and counts the reals of its entities (the
// coordinates of every LINE, the insertion point, height and rotation of
// every TEXT) and those among them that are not finite numbers:
// {"ok": bool, "error": str, "reals": n, "nonfinite": n}.
inline QJsonObject CountNonFiniteWithEzdxf(const QString& path)
{
    static const char* script = R"PY(
import json, math, sys
out = {"ok": False, "error": ""}
try:
    import ezdxf
    doc = ezdxf.readfile(sys.argv[1])
    reals = []
    for e in doc.modelspace():
        t = e.dxftype()
        if t == "LINE":
            reals += list(e.dxf.start) + list(e.dxf.end)
        elif t == "TEXT":
            reals += list(e.dxf.insert) + [e.dxf.height, e.dxf.rotation]
    out.update(reals=len(reals), nonfinite=sum(1 for v in reals if not math.isfinite(v)), ok=True)
except Exception as exc:
    out["error"] = repr(exc)
print(json.dumps(out))
)PY";
    return RunDxfScript(script, path);
}
