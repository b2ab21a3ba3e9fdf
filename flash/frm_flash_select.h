// "Select Model to Download": why the module could not be identified, one option per CPU model
// the image holds, OK and Cancel. The options come from the update's model.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "flash/model_selection.h"

class QRadioButton;

namespace zel {

class frmFlashSelect : public QDialog {
    Q_OBJECT
public:
    explicit frmFlashSelect(const ModelChoices& choices, QWidget* parent = nullptr);

    // The code of the chosen option once OK was pressed; none otherwise.
    std::optional<int> chosenCode() const;

private:
    ModelChoices choices_;
    std::array<QRadioButton*, 4> Option1{};
};

}  // namespace zel
