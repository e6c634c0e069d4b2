#include "shell/colordialog.h"
#include "ui_colordialog.h"
#include "widgets/colorclass.h"
#include "core/userinteraction.h"

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
    const QColor chosen = User().color(initial, title);
    return chosen.isValid() ? chosen : initial;
}

} // namespace

ColorSwatch::ColorSwatch(QWidget* parent, QColor ColorClass::*member, const char* pickerTitle)
    : QWidget(parent), member(member), pickerTitle(pickerTitle)
{
}

void ColorSwatch::initFromRecord()
{
    ownColor = GetColorClass()->*member;
    update();
}

void ColorSwatch::pickColor()
{
    ownColor = pick(ownColor, pickerTitle);
    GetColorClass()->*member = ownColor;
    update();
}

void ColorSwatch::mousePressEvent(QMouseEvent*)
{
    pickColor();
}

void ColorSwatch::paintEvent(QPaintEvent*)
{
    paintSwatch(this, ownColor);
}

CanopyColor::CanopyColor(QWidget* parent)
    : ColorSwatch(parent, &ColorClass::canopyColor, "set canopy color")
{
}

BackgroundColor::BackgroundColor(QWidget* parent)
    : ColorSwatch(parent, &ColorClass::backgroundColor, "set background color")
{
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
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
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
