#include "flash/model_selection.h"

#include <string>

#include "firmware/module_models.h"

namespace zel {
namespace {

// Only the CPU module's models can be chosen here.
bool isCpuModel(int code) { return code == 11 || code == 12 || code == 14 || code == 16; }

}  // namespace

std::optional<ModelChoices> readModelChoices(firmware::FirmwareImage& image) {
    std::string line;
    if (!image.ResetFile() || !image.GetLine(line) || line.empty()) return std::nullopt;
    const int count = line.back() - '0';
    ModelChoices choices;
    for (int i = 0; i < count && i < 4; ++i) {
        if (!image.GetLine(line)) return std::nullopt;
        const firmware::ModuleModel* model = firmware::modelNamedIn(line);
        if (!model || !isCpuModel(model->code)) continue;
        choices.options[i] = {true, QString::fromLatin1(model->name), model->code};
    }
    return choices;
}

}  // namespace zel
