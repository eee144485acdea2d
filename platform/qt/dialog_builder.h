// Builds a dialog's Qt window and controls from its template in res/.
#pragma once

#include <QIcon>
#include <functional>
#include <memory>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/dialog_widget.h"

class QWidget;

namespace kestrin::qt {

struct BuiltControl {
    const platform::ControlTemplate* tmpl;
    QWidget* widget;  // owned by the dialog window
};

struct BuiltDialog {
    std::unique_ptr<DialogWidget> window;
    std::vector<BuiltControl> controls;  // in creation (tab) order
    BaseUnits units;
};

// The dialog, hidden, its combo boxes empty. `iconFor` gives the icon of a static icon
// control by its resource identifier.
BuiltDialog BuildDialog(const platform::DialogTemplate& tmpl, QWidget* owner,
                        const std::function<QIcon(int)>& iconFor);

}  // namespace kestrin::qt
