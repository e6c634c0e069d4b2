#include "colordialog.h"
#include "ui_colordialog.h"
#include "colorclass.h"
#include "modalhooks.h"

#include <QColorDialog>
#include <QPainter>

namespace {

void paintSwatch(QWidget* w, const QColor& c)
{
    QPainter p(w);
    // An invalid colour is drawn as opaque black.
    const QColor fill = c.isValid() ? c : QColor(0, 0, 0);
    const QRect r(0, 0, 1024, 768);
    p.fillRect(r, fill);
    p.drawRect(r);
}

// The picker's answer; a cancelled picker keeps the colour the swatch had.
QColor pick(const QColor& initial, const QString& title)
{
    const QColor chosen = ModalHooks::colorPicker
        ? ModalHooks::colorPicker(initial, title)
        : QColorDialog::getColor(initial, nullptr, title);
    return chosen.isValid() ? chosen : initial;
}

} // namespace

CanopyColor::CanopyColor(QWidget* parent) : QWidget(parent) {}

void CanopyColor::initCanopyColor()
{
    ownColor = GetColorClass()->canopyColor;
    update();
}

void CanopyColor::refresh_widget()
{
    ownColor = pick(ownColor, "set canopy color");
    GetColorClass()->canopyColor = ownColor;
    update();
}

void CanopyColor::mousePressEvent(QMouseEvent*)
{
    refresh_widget();
}

void CanopyColor::paintEvent(QPaintEvent*)
{
    paintSwatch(this, ownColor);
}

BackgroundColor::BackgroundColor(QWidget* parent) : QWidget(parent) {}

void BackgroundColor::initBackgrounColor()
{
    ownColor = GetColorClass()->backgroundColor;
    update();
}

void BackgroundColor::refresh_widget()
{
    ownColor = pick(ownColor, "set background color");
    GetColorClass()->backgroundColor = ownColor;
    update();
}

void BackgroundColor::mousePressEvent(QMouseEvent*)
{
    refresh_widget();
}

void BackgroundColor::paintEvent(QPaintEvent*)
{
    paintSwatch(this, ownColor);
}

ColorDialog::ColorDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::ColorDialog), colors(GetColorClass())
{
    ui->setupUi(this);
}

ColorDialog::~ColorDialog()
{
    delete ui;
}

void ColorDialog::showEvent(QShowEvent* event)
{
    ReadColorsStream();
    ui->canopy_widget->initCanopyColor();
    ui->background_widget->initBackgrounColor();
    QDialog::showEvent(event);
}

void ColorDialog::on_okButton_clicked()
{
    WriteColorsStream();
    hide();
}

void ColorDialog::on_pushButton_clicked()
{
    hide();
}
