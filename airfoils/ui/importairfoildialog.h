#pragma once

// The airfoil dialog: imports airfoil files into a working airfoil, shows
// the four design airfoils P0 to P3, assigns the working airfoil to one of
// them, sets which design airfoil sits at each airfoil position along the
// span and where the transition ribs lie, hands the working airfoil to the
// morphing dialog and saves it as an airfoil table. There is no backup:
// every assignment goes straight into the live design; "apply  ok"
// recomputes it.

#include <QDialog>
#include <QPolygonF>
#include <QString>
#include <QWidget>

class EditAirFoilDialog;
class EditSession;
class ParaStruct;
class QMouseEvent;
class QPaintEvent;
class QPainter;
class QShowEvent;

// The fill colour of a preview slot: 0 red, 1 blue, 2 green, 3 magenta,
// 9 (the working airfoil) cyan, any other white.
void Set_myBrush(int slot, QPainter* painter);

// Draws an airfoil preview into a widget: gradient background, chord and
// nose axes, the airfoil filled in its slot's colour and the label.
void Paint_Current_Airfoil(QWidget* widget, QPainter* painter, const QPolygonF& airfoil, int slot,
                           const QString& label);

// What both airfoil previews hold: a slot number (-1 until first set, 0..3
// for a design airfoil, 9 for the working airfoil), the polygon shown and a
// label kept with it.
class FoilPreview : public QWidget
{
    Q_OBJECT

public:
    explicit FoilPreview(QWidget* parent = nullptr);

    void Setworkingfoil(int slot, const QString& label, const QPolygonF& airfoil);
    // The morphing result the working-airfoil slot shows in place of its
    // airfoil while there is one (empty: none).
    void setMorphedAirfoil(const QPolygonF& airfoil);

    int slot() const { return slotNumber; }
    QString label() const { return labelText; }
    QPolygonF airfoil() const { return polygon; }

protected:
    // Paints the preview with the given caption; the working-airfoil slot
    // takes the morphing result first while there is one.
    void paintPreview(const QString& caption);

    int slotNumber = -1;
    QPolygonF polygon;
    QString labelText;
    double painterScale = 1.0;
    QPolygonF morphedAirfoil;
};

// Preview of one design airfoil; a click selects it as the working airfoil.
class Airfarea : public FoilPreview
{
    Q_OBJECT

public:
    explicit Airfarea(QWidget* parent = nullptr);

signals:
    // The preview of design airfoil `slot` was clicked.
    void to_selectfoil(int slot);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// Preview of the working airfoil (or of the morphing result while there is one).
class WorkArea : public FoilPreview
{
    Q_OBJECT

public:
    explicit WorkArea(QWidget* parent = nullptr);

    void Set_myBrush(int slot, QPainter* painter);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The wing composer: a side view of the half wing's ribs with the four
// airfoil positions and the design airfoil used at each.
class Wcompozer : public QWidget
{
    Q_OBJECT

public:
    explicit Wcompozer(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintTransRib(QPainter* painter, int rib);

    int positions[4] = {0, 0, 0, 0};
    QPointF topPoints[66];
    QPointF basePoints[66];
    ParaStruct* design = nullptr;
};

#include "ui_importairfoildialog.h"

class ImportAirFoilDialog : public QDialog, public Ui::importairfoildialog
{
    Q_OBJECT

public:
    explicit ImportAirFoilDialog(QWidget* parent = nullptr);

    void Setup_EditAirfoil(EditAirFoilDialog* dialog);
    void Adjust_transribs();
    void Display_Current_Foils();
    void Save_airfoil_table();
    void Set_LineInd_by_LinePos();

    QPolygonF workingAirfoil() const { return working; }
    QString workingName() const { return workName; }
    // The morphing dialog's last result since the working airfoil was last
    // chosen (empty: none); it is what an assignment takes.
    QPolygonF morphedResult() const { return morphedAirfoil; }
    // The design airfoil (0..3) last chosen as the working airfoil.
    int selectedAirfoil() const { return selectedDesignAirfoil; }

public slots:
    // Design airfoil `slot` becomes the working airfoil.
    void SelectFoil(int slot);

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_importButton_pressed();
    void on_as_p0_clicked();
    void on_as_p1_clicked();
    void on_as_p2_clicked();
    void on_as_p3_clicked();
    void on_editfoilButton_clicked();
    void on_saveButton_clicked();
    void on_okButton_pressed();
    void on_transrib1_spinBox_valueChanged(int value);
    void on_transrib2_spinBox_valueChanged(int value);
    void on_index0_spinBox_valueChanged(int value);
    void on_index1_spinBox_valueChanged(int value);
    void on_index2_spinBox_valueChanged(int value);
    void on_index3_spinBox_valueChanged(int value);

private:
    void assignTo(int designAirfoil);
    void setPositionAirfoil(int position, int value);
    void setMorphed(const QPolygonF& airfoil);

    QPolygonF working;
    QString workName = "*";
    QPolygonF morphedAirfoil;
    int selectedDesignAirfoil = 0;
    ParaStruct* design = nullptr;
    // The design as the dialog found it: OK commits an edit only when the
    // user made one.
    EditSession* session = nullptr;
    EditAirFoilDialog* editDialog = nullptr;
};
