// Pictures of the shape editors as a user opens them on the default design:
// the flat-shape editor with a control point picked, the base-line editor
// with a node selected, the billow-compensation editor and its cross view;
// each at the size of its form and maximized.
//   wl_shape_shots OUTDIR [PROJECT]
// PROJECT defaults to "template.ini" of the application directory. Run it on
// a display of the size a user has (xvfb-run -s "-screen 0 1600x1000x24").

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QScreen>
#include <QString>
#include <QWindow>

#include <cstdio>

#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "shape/ui/flatwing.h"
#include "shape/ui/frontviewdialog.h"
#include "shape/ui/skintdialog.h"
#include "shell/model/installhooks.h"

namespace {

QString outDir;

// Shows the window at its form's size (or maximized), lets it lay itself
// out and paint, and saves its picture as NAME.png (NAME-max.png).
void shoot(QWidget* window, const QString& name, bool maximized)
{
    if (maximized) {
        // A display without a window manager does not maximize: the size a
        // maximized window takes is given as well.
        window->showMaximized();
        window->resize(window->screen()->availableGeometry().size());
    } else {
        window->show();
    }
    while (!window->windowHandle() || !window->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents();
    const QString file = QDir(outDir).filePath(name + (maximized ? QStringLiteral("-max.png") : QStringLiteral(".png")));
    if (!window->grab().save(file))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    else
        std::printf("%s\n", qPrintable(file));
}

void click(QWidget* widget, QPointF at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR [PROJECT]\n", argv[0]);
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    const QString project = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                     : QCoreApplication::applicationDirPath() + "/../bin/template.ini";
    Install_Recompute_Hooks();
    ParaStruct* design = GetDataStruct();
    QFile file(project);
    QString reason;
    if (!file.open(QIODevice::ReadOnly) || !Read_Project(&file, design, &reason)) {
        std::fprintf(stderr, "cannot read %s %s\n", qPrintable(project), qPrintable(reason));
        return 1;
    }
    // As the program makes an opened design current.
    design->Repair_Airfoils();
    Refresh_Calculations(design);

    for (bool maximized : {false, true}) {
        {
            FlatWingDialog dialog;
            dialog.resize(1400, 1000);
            dialog.show();
            FlatWing* w = dialog.flatWing();
            click(w, w->scale() * w->controlPoints[2] + w->translation());
            shoot(&dialog, QStringLiteral("flatwing"), maximized);
        }
        {
            FrontViewDialog dialog;
            dialog.resize(1200, 1000);
            dialog.show();
            dialog.faceWidget()->node(2)->setSelected(true);
            shoot(&dialog, QStringLiteral("frontview"), maximized);
        }
        {
            SkintDialog dialog;
            dialog.resize(1200, 800);
            shoot(&dialog, QStringLiteral("skint"), maximized);
            dialog.findChild<QCheckBox*>(QStringLiteral("crossviewcheckBox"))->click();
            dialog.extensionWindow()->resize(1024, 768);
            shoot(dialog.extensionWindow(), QStringLiteral("viewcross"), maximized);
        }
    }
    return 0;
}
