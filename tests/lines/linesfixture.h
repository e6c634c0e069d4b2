#pragma once

// Shared pieces of the line tests: spies on what the line code tells the
// user, a recomputed test wing with its frame laid out, and the default
// design the build ships.

#include "tests/core/designfixture.h"
#include "tests/common/scripteduser.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "lines/lineplan.h"
#include "lines/linetree.h"

#include <QBuffer>
#include <QFile>
#include <QStringList>

#include <memory>

namespace linesfixture {

// What the line code tells the user: ScriptedUser::texts.
using NotifySpy = ScriptedUser;

struct WarningSpy {
    QStringList texts;
    QList<QPoint> points;
    BridleWarning previous;
    WarningSpy()
    {
        previous = Set_Bridle_Warning([this](QPoint p, const QString& t) {
            points.append(p);
            texts.append(t);
        });
    }
    ~WarningSpy() { Set_Bridle_Warning(previous); }
};

// The recomputed test wing with its frame laid out.
inline std::unique_ptr<ParaStruct> wing(int cells)
{
    auto d = fixture::makeWing(cells);
    for (int k = 0; k < 8; ++k)
        d->lineWeights[k] = 10 * (k + 1);
    Layout_Frame(d.get(), d->bridle.frame);
    return d;
}

inline QString templatePath(int cells)
{
    return cells == 34 ? qEnvironmentVariable("WL_APP_DIR") + QStringLiteral("/template.ini")
                       : qEnvironmentVariable("WL_TEST_DATA_DIR") + QStringLiteral("/template-35.ini");
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The design as the project file carries it.
inline QByteArray bytesOf(const ParaStruct& d)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Write_Project(&buffer, d);
    return buffer.data();
}

// The shipped default design as File > Open reads and recomputes it; null
// when it cannot be read.
inline std::unique_ptr<ParaStruct> defaultDesign(int cells)
{
    Install_Recompute_Hooks();
    QFile f(templatePath(cells));
    auto d = std::make_unique<ParaStruct>();
    if (!f.open(QIODevice::ReadOnly) || !Read_Project(&f, d.get()))
        return nullptr;
    Refresh_Calculations(d.get());
    return d;
}

} // namespace linesfixture
