#pragma once

// The "Design dialog" of the graphic design: the design-line editors of the
// top and the bottom surface, the colouring of the panel pieces and the
// textured 3-D preview, in one tab widget. It works on the live design: the
// lines go into the design as they are drawn, the colours into the
// project's ".cnp" when colouring ends or "Save and  Preview" is pressed,
// which also rebuilds the texture image and shows the 3-D tab.

#include <QColor>
#include <QDialog>

#include "ui_designdialog.h"

class ParaStruct;

class DesignDialog : public QDialog, public Ui::DesignDialog
{
    Q_OBJECT

public:
    explicit DesignDialog(QWidget* parent = nullptr);

    // The colour last chosen; invalid before the first choice and after a
    // cancelled one.
    QColor chosenColour() const { return colour; }

signals:
    void set_texture();

private slots:
    void on_exitButton_clicked();
    void on_colorButton_pressed();
    void on_coloring_checkBox_clicked();
    void on_saveButton_pressed();
    void on_pushButton_clicked();
    void on_tabWidget_currentChanged(int index);
    void on_checkBillowLine_clicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void EnableColorButton(bool b);
    // Tells the user when the colours could not be written.
    void reportUnsaved();

    ParaStruct* design = nullptr;
    QColor colour;
    bool textureConnected = false;
};
