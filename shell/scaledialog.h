#ifndef SCALEDIALOG_H
#define SCALEDIALOG_H

#include <QDialog>
#include <memory>
#include <optional>

#include "widgets/viewstate.h"

class EditSession;
class ParaStruct;
struct DesignInput;
namespace Ui { class ScaleDialog; }

// "Generate scaled model": saves a copy of the design scaled to a new flat
// area with the same aspect ratio; the open design stays the unscaled one.
// While the scaled design is being saved the 3-D view shows it inflated;
// afterwards the view is as it was.
class ScaleDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ScaleDialog(QWidget* parent = nullptr);
    ~ScaleDialog() override;

    void initScaleDialog();
    void SetScaledModelValues();

    Ui::ScaleDialog* form() const { return ui; }
    // The main 3-D view's state (none: the dialog switches nothing).
    void setViewState(GlViewState* state) { view = state; }
    double factor() const { return scaleFactor; }

public slots:
    void Accept_Changes();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void on_squareEdit_textChanged(const QString& text);
    void on_cancelButton_clicked();

private:
    DesignInput areaInput() const;
    // The design and the 3-D view back as they were before the scaling.
    void revert();

    Ui::ScaleDialog* ui;
    int shownCount = 0;
    ParaStruct* design;
    EditSession* session = nullptr;
    GlViewState* view = nullptr;
    std::optional<GlViewState> viewFound; // the view before the scaled design showed
    double scaleFactor = 1.0;
    double currentArea = 0.0;
    double newArea = 0.0;
    double currentSpan = 0.0;
    double newSpan = 0.0;
    double currentHang = 0.0;
    double newHang = 0.0;
    double currentDiagWidth = 0.0;
    double newDiagWidth = 0.0;
};

#endif
