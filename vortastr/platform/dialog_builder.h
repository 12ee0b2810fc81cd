#pragma once
// Builds a Qt dialog from a dialog layout: fixed size, controls placed by dialog units
// converted through the dialog font's metrics.
#include "resources/dialog_layouts.h"

#include <QDialog>
#include <QHash>

class QWidget;

namespace vortastr {

class LayoutDialog : public QDialog {
    Q_OBJECT
public:
    LayoutDialog(const DialogLayout& layout, QWidget* parent);

    QWidget* control(int id) const { return controls_.value(id, nullptr); }
    template <typename T>
    T* control(int id) const
    {
        return qobject_cast<T*>(control(id));
    }
    // Dialog units to pixels with this dialog's font.
    QRect toPixels(int x, int y, int width, int height) const;

private:
    QHash<int, QWidget*> controls_;
    double unitX_ = 1.5;
    double unitY_ = 1.625;
};

} // namespace vortastr
