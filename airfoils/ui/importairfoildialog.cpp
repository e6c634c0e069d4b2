#include "airfoils/ui/importairfoildialog.h"

#include "core/airfoil.h"
#include "core/calcul3d.h"
#include "airfoils/ui/editairfoildialog.h"
#include "core/designedit.h"
#include "core/parastruct.h"
#include "widgets/editsession.h"
#include "core/transf.h"
#include "widgets/uihelpers.h"

#include <QFile>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QShowEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// Fills the widget's frame (w x h, one less than its size) with the preview
// gradient and outlines it.
void paintBackground(QPainter* painter, double w, double h, const QColor& end)
{
    QLinearGradient gradient(QPointF(0, 0), QPointF(w, h));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, end);
    const QRectF frame(0, 0, w, h);
    painter->fillRect(frame, gradient);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::black, 1));
    painter->drawRect(frame);
}

// One line of an airfoil table: x and y with 5 decimals in fields of 7.
QString tableLine(double x, double y)
{
    return QString("%1   %2 \t\n").arg(x, 7, 'f', 5).arg(y, 7, 'f', 5);
}

} // namespace

void Set_myBrush(int slot, QPainter* painter)
{
    QColor colour = Qt::white;
    switch (slot) {
    case 0: colour = Qt::red; break;
    case 1: colour = Qt::blue; break;
    case 2: colour = Qt::green; break;
    case 3: colour = Qt::magenta; break;
    case 9: colour = Qt::cyan; break;
    default: break;
    }
    painter->setBrush(QBrush(colour, Qt::SolidPattern));
}

void Paint_Current_Airfoil(QWidget* widget, QPainter* painter, const QPolygonF& airfoil, int slot,
                           const QString& label)
{
    if (airfoil.isEmpty())
        return;
    const QRect r = widget->rect();
    const double w = r.right() - r.left();
    const double h = r.bottom() - r.top();
    paintBackground(painter, w, h, QColor(140, 0, 0, 100));

    QPen dotted(Qt::black, 0, Qt::DotLine);
    dotted.setCosmetic(true);
    painter->setPen(dotted);
    painter->drawLine(QPointF(0.1 * w, 0.6 * h), QPointF(w, 0.6 * h));
    painter->drawLine(QPointF(0.1 * w, -0.6 * h), QPointF(0.1 * w, 1.2 * h));

    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine));
    Set_myBrush(slot, painter);
    painter->drawPolygon(prepareAirfoil(airfoil, 0.9 * w, int(0.1 * w), int(0.6 * h)), Qt::OddEvenFill);
    painter->drawText(QPoint(int(0.1 * w / 3), int(0.6 * h)), label);
}

// ---------------------------------------------------------------- previews

FoilPreview::FoilPreview(QWidget* parent) : QWidget(parent) {}

void FoilPreview::Setworkingfoil(int slot, const QString& label, const QPolygonF& airfoil)
{
    slotNumber = slot;
    labelText = label;
    polygon = airfoil;
    update();
}

void FoilPreview::setMorphedAirfoil(const QPolygonF& airfoil)
{
    morphedAirfoil = airfoil;
    update();
}

void FoilPreview::paintPreview(const QString& caption)
{
    if (slotNumber == 9 && !morphedAirfoil.isEmpty())
        polygon = morphedAirfoil;
    QPainter painter(this);
    painter.scale(painterScale, painterScale);
    Paint_Current_Airfoil(this, &painter, polygon, slotNumber, caption);
}

Airfarea::Airfarea(QWidget* parent) : FoilPreview(parent) {}

void Airfarea::mousePressEvent(QMouseEvent*)
{
    if (slotNumber == 9)
        return;
    emit to_selectfoil(slotNumber);
}

void Airfarea::paintEvent(QPaintEvent*)
{
    paintPreview(QString("P%1").arg(slotNumber));
}

WorkArea::WorkArea(QWidget* parent) : FoilPreview(parent) {}

void WorkArea::Set_myBrush(int slot, QPainter* painter)
{
    ::Set_myBrush(slot, painter);
}

void WorkArea::paintEvent(QPaintEvent*)
{
    // While the morphing dialog has a result, the work view shows it.
    paintPreview("W");
}

// ---------------------------------------------------------------- wing composer

Wcompozer::Wcompozer(QWidget* parent) : QWidget(parent)
{
    design = GetDataStruct();
}

void Wcompozer::paintEvent(QPaintEvent*)
{
    const ParaStruct& d = *design;
    positions[0] = d.firstRib;
    positions[1] = d.transitionRib1;
    positions[2] = d.transitionRib2;
    positions[3] = d.lastRib - 1;

    QPainter painter(this);
    const QRect r = rect();
    const double w = r.right() - r.left();
    const double h = r.bottom() - r.top();
    paintBackground(&painter, w, h, QColor(200, 0, 0, 100));

    const int lastCell = d.lastCell;
    if (lastCell < 0 || lastCell + 1 >= kRibSlots || lastCell + 1 >= 66)
        return;
    const double reach = d.ribSpanPos[lastCell];
    if (!(reach > 0.0))
        return;
    // The ribs up to the last cell take 65 % of the width, whatever its size.
    const double s = 0.65 * w / reach;
    const double base = 0.85 * h;

    painter.setPen(QPen(Qt::black, 1));
    for (int k = 0; k <= lastCell + 1; ++k) {
        const double x = s * d.ribSpanPos[k];
        basePoints[k] = QPointF(x, base);
        topPoints[k] = QPointF(x, base - 0.35 * d.chord[k]);
        const QPointF at = k % 2 == 0 ? basePoints[k] + QPointF(0, 20) : topPoints[k] - QPointF(0, 20);
        painter.drawText(at, QString("%1").arg(k));
    }

    QPen line(Qt::black, 0, Qt::SolidLine);
    line.setCosmetic(true);
    for (int k = 0; k <= lastCell; ++k) {
        painter.setPen(line);
        painter.drawLine(topPoints[k], basePoints[k]);
        painter.drawLine(topPoints[k], topPoints[k + 1]);
        painter.drawLine(basePoints[k], basePoints[k + 1]);
        PaintTransRib(&painter, k);
    }
}

void Wcompozer::PaintTransRib(QPainter* painter, int rib)
{
    for (int p = 0; p < 4; ++p) {
        if (positions[p] != rib)
            continue;
        painter->setPen(QPen(Qt::blue, 4, Qt::SolidLine));
        painter->drawLine(topPoints[rib], basePoints[rib]);
        painter->setPen(QPen(Qt::black, 4));
        painter->drawText(basePoints[rib], QString("Tr:%1").arg(p));
        painter->drawText(topPoints[rib], QString("P:%1").arg(design->positionAirfoilIndex[p]));
        return;
    }
}

// ---------------------------------------------------------------- dialog

ImportAirFoilDialog::ImportAirFoilDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    design = GetDataStruct();
    session = new EditSession(this, design);
    workgroupBox->setEnabled(false);
    for (Airfarea* view : {foil_0, foil_1, foil_2, foil_3})
        connect(view, &Airfarea::to_selectfoil, this, &ImportAirFoilDialog::SelectFoil);
}

void ImportAirFoilDialog::Setup_EditAirfoil(EditAirFoilDialog* dialog)
{
    editDialog = dialog;
    connect(dialog, &EditAirFoilDialog::to_workfoil, this, &ImportAirFoilDialog::setMorphed);
}

void ImportAirFoilDialog::setMorphed(const QPolygonF& airfoil)
{
    morphedAirfoil = airfoil;
    foil_work->setMorphedAirfoil(airfoil);
}

void ImportAirFoilDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    setMorphed(QPolygonF());
    working.clear();
    workName = "*";
    // The work view shows no airfoil of an earlier visit.
    foil_work->Setworkingfoil(9, QString(), working);
    Adjust_transribs();
    Display_Current_Foils();
    wing_compozer->update();
}

void ImportAirFoilDialog::Adjust_transribs()
{
    // Position 1 lies behind the first rib, position 2 behind position 1,
    // and both ahead of position 3 (the last rib - 1) as far as the wing has
    // ribs for them.
    int t1 = design->transitionRib1;
    int t2 = design->transitionRib2;
    const int lo = design->firstRib;
    const int hi = std::max(design->firstRib, design->lastRib - 1);
    if (hi - lo >= 2) {
        t1 = std::clamp(t1, lo + 1, hi - 1);
        t2 = std::clamp(t2, t1 + 1, hi);
    } else {
        t1 = std::clamp(t1, lo, hi);
        t2 = std::clamp(t2, t1, hi);
    }
    design->transitionRib1 = t1;
    design->transitionRib2 = t2;
    {
        const QSignalBlocker quiet1(transrib1_spinBox);
        const QSignalBlocker quiet2(transrib2_spinBox);
        transrib1_spinBox->setValue(t1);
        transrib2_spinBox->setValue(t2);
    }
    wing_compozer->update();
}

void ImportAirFoilDialog::Display_Current_Foils()
{
    Airfarea* previews[4] = {foil_0, foil_1, foil_2, foil_3};
    for (int k = 0; k < 4; ++k)
        if (!design->designAirfoils[k].isEmpty())
            previews[k]->Setworkingfoil(k, QString::number(k), design->designAirfoils[k]);
    if (!working.isEmpty())
        foil_work->Setworkingfoil(9, QString(), working);
    QSpinBox* indexes[4] = {index0_spinBox, index1_spinBox, index2_spinBox, index3_spinBox};
    for (int k = 0; k < 4; ++k)
        indexes[k]->setValue(design->positionAirfoilIndex[k]);
}

void ImportAirFoilDialog::on_importButton_pressed()
{
    const QString dir = GetGlobClass()->workDir + "/Airfoils";
    workgroupBox->setEnabled(true);
    setMorphed(QPolygonF());
    const QString path = Open_File_Name(this, tr("Select airfoil"), dir, tr("Files (*.txt *.dat)"));
    if (path.isEmpty())
        return;
    QString why;
    const QPolygonF airfoil = Import_Airfoil_File(path, AirfoilReader::Main, &why);
    if (airfoil.isEmpty()) {
        Show_Warning("Import airfoil", " nothing imported: " + strippedName(path) + "\n" + why);
        return;
    }
    workName = strippedName(path);
    working = airfoil;
    foil_work->Setworkingfoil(9, "imported", working);
}

void ImportAirFoilDialog::assignTo(int designAirfoil)
{
    if (!morphedAirfoil.isEmpty())
        working = morphedAirfoil;
    if (working.isEmpty())
        return;
    design->designAirfoils[designAirfoil] = setStandFoil(&working);
    design->designAirfoilNames[designAirfoil] = workName;
    Display_Current_Foils();
}

void ImportAirFoilDialog::on_as_p0_clicked() { assignTo(0); }
void ImportAirFoilDialog::on_as_p1_clicked() { assignTo(1); }
void ImportAirFoilDialog::on_as_p2_clicked() { assignTo(2); }
void ImportAirFoilDialog::on_as_p3_clicked() { assignTo(3); }

void ImportAirFoilDialog::SelectFoil(int slot)
{
    selectedDesignAirfoil = std::clamp(slot, 0, 3);
    workgroupBox->setEnabled(true);
    setMorphed(QPolygonF());
    working = design->designAirfoils[selectedDesignAirfoil];
    foil_work->Setworkingfoil(9, QString(), working);
}

void ImportAirFoilDialog::on_editfoilButton_clicked()
{
    setMorphed(QPolygonF());
    if (!working.isEmpty() && editDialog) {
        editDialog->Transfer_WorkingFoil(working);
        editDialog->show();
    }
    Display_Current_Foils();
}

void ImportAirFoilDialog::on_saveButton_clicked()
{
    Save_airfoil_table();
}

void ImportAirFoilDialog::Save_airfoil_table()
{
    const QString path =
        Save_File_Name(this, tr("Save File as"), QString(), tr("Files (airfoil.txt *.out *.txt *.dat)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        Show_Warning("save airfoil as...", " the airfoil table could not be written: " + path);
        return;
    }
    QString text = path + " \t\n";
    text += tableLine(1.0, 0.0);
    for (int i = 1; i < working.size(); i += 10)
        text += tableLine(working[i].x(), working[i].y());
    text += tableLine(1.0, 0.0);
    const QByteArray bytes = text.toLatin1();
    if (file.write(bytes) != bytes.size() || !file.flush())
        Show_Warning("save airfoil as...", " the airfoil table could not be written: " + path);
}

void ImportAirFoilDialog::Set_LineInd_by_LinePos()
{
    const int rib = design->firstRib;
    if (rib < 0 || rib >= kAirfoilSlots)
        return;
    const QPolygonF& airfoil = design->ribAirfoils[rib];
    if (airfoil.isEmpty())
        return;
    QPolygonF mapped;
    mapped.reserve(airfoil.size());
    for (const QPointF& p : airfoil)
        mapped.append(QPointF(40 + 560 * p.x(), -560 * p.y()));
    for (int k = 0; k < kLineRows; ++k)
        design->rowCentreIndex[k] = FindPolyIndex(&mapped, design->rowMarkers[k]);
}

void ImportAirFoilDialog::on_okButton_pressed()
{
    // The rows find their places on new airfoils; airfoils left as they
    // were keep the rows where the user put them.
    if (session->changed()) {
        Set_LineInd_by_LinePos();
        Apply_Edit(design, DesignEdit::Wing);
    }
    working.clear();
    foil_work->Setworkingfoil(9, QString(), working);
    hide();
}

void ImportAirFoilDialog::on_transrib1_spinBox_valueChanged(int value)
{
    design->transitionRib1 = value;
    Adjust_transribs();
}

void ImportAirFoilDialog::on_transrib2_spinBox_valueChanged(int value)
{
    design->transitionRib2 = value;
    Adjust_transribs();
}

void ImportAirFoilDialog::setPositionAirfoil(int position, int value)
{
    design->positionAirfoilIndex[position] = value;
    wing_compozer->update();
}

void ImportAirFoilDialog::on_index0_spinBox_valueChanged(int value) { setPositionAirfoil(0, value); }
void ImportAirFoilDialog::on_index1_spinBox_valueChanged(int value) { setPositionAirfoil(1, value); }
void ImportAirFoilDialog::on_index2_spinBox_valueChanged(int value) { setPositionAirfoil(2, value); }
void ImportAirFoilDialog::on_index3_spinBox_valueChanged(int value) { setPositionAirfoil(3, value); }
