#ifndef COLORDIALOG_H
#define COLORDIALOG_H

#include <QColor>
#include <QDialog>
#include <QWidget>

#include "widgets/colorclass.h"
namespace Ui { class ColorDialog; }

// A colour swatch: shows its own colour; a click opens the colour picker and
// what is picked becomes the swatch's and the record's colour.
class ColorSwatch : public QWidget
{
    Q_OBJECT
public:
    QColor color() const { return ownColor; }

protected:
    ColorSwatch(QWidget* parent, QColor ColorClass::*member, const char* pickerTitle);
    void initFromRecord();
    void pickColor();
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor ownColor;
    QColor ColorClass::*member;
    const char* pickerTitle;
};

// Swatch of the canopy colour.
class CanopyColor : public ColorSwatch
{
    Q_OBJECT
public:
    explicit CanopyColor(QWidget* parent = nullptr);

public slots:
    void initCanopyColor() { initFromRecord(); }
    void refresh_widget() { pickColor(); }
};

// Swatch of the background colour.
class BackgroundColor : public ColorSwatch
{
    Q_OBJECT
public:
    explicit BackgroundColor(QWidget* parent = nullptr);

    void initBackgrounColor() { initFromRecord(); }
    void refresh_widget() { pickColor(); }
};

// "COLORS": picks the canopy and background colours of the 3-D views.
class ColorDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ColorDialog(QWidget* parent = nullptr);
    ~ColorDialog() override;

    Ui::ColorDialog* form() const { return ui; }

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_okButton_clicked();
    void on_pushButton_clicked();

private:
    Ui::ColorDialog* ui;
    ColorClass* colors;
};

#endif
