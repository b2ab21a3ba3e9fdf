#include "firmware/image_check.h"

#include "firmware/module_models.h"
#include "firmware/srecord.h"

namespace zel::firmware {

namespace {

struct Listed {
    const ModuleModel* model;
    int line;
};

ImageCheck damaged(ImageCheck check, int line, std::string fault) {
    check.sound = false;
    check.line = line;
    check.fault = std::move(fault);
    return check;
}

// Every line once: the records' soundness and the model list's lines.
ImageCheck readLines(FirmwareImage& image, std::vector<std::string>& listLines) {
    ImageCheck check;
    std::string line;
    size_t listed = 0;
    while (!image.FileEOF()) {
        if (!image.GetLine(line)) return damaged(check, image.lineNumber() + 1, image.error());
        check.lines = image.lineNumber();
        if (check.lines == 1 && !isSRecord(line)) {
            const char last = line.empty() ? ' ' : line.back();
            if (last < '1' || last > '4')
                return damaged(check, 1,
                               "the first line is neither an S-record nor ends in "
                               "the number of models (1 to 4)");
            listed = static_cast<size_t>(last - '0');
            listLines.push_back(line);
        } else if (listLines.size() > 0 && listLines.size() <= listed) {
            listLines.push_back(line);
        }
        if (!isSRecord(line)) continue;
        ++check.records;
        if (auto fault = sRecordFault(line); !fault.empty())
            return damaged(check, check.lines, std::move(fault));
    }
    if (listLines.size() > 0 && listLines.size() <= listed)
        return damaged(check, check.lines, "the image ends inside its list of models");
    check.sound = true;
    return check;
}

// Walks the model's section as the update sends it, counting what it counts.
ImageCheck checkSection(FirmwareImage& image, ImageCheck check, const Listed& listed) {
    const std::string tag(listed.model->tag);
    const std::string name(listed.model->name);
    if (!image.ResetFile()) return damaged(check, 0, "the image cannot be read again");
    const SectionSize size = image.SectionLength(tag);
    if (!size.found) return damaged(check, listed.line, "no section length for " + name);
    std::string line;
    if (!image.FindLine(tag, line)) return damaged(check, listed.line, "no section for " + name);
    const int header = image.lineNumber();
    if (image.FileEOF() || !image.GetLine(line) || !line.starts_with("S0"))
        return damaged(check, header + 1,
                       "the section for " + name + " does not start with an S0 record");
    int32_t counted = 0;
    while (line.find("END") == std::string::npos) {
        if (image.FileEOF())
            return damaged(check, image.lineNumber(),
                           "the section for " + name + " ends without an END line");
        if (!image.GetLine(line)) return damaged(check, image.lineNumber() + 1, image.error());
        counted += static_cast<int32_t>(line.size());
    }
    if (counted != size.length)
        return damaged(check, listed.line,
                       "the list gives " + std::to_string(size.length) + " characters for " + name +
                           ", its section holds " + std::to_string(counted));
    check.sections.push_back({tag, counted});
    return check;
}

}  // namespace

std::string ImageCheck::message() const {
    if (sound) return {};
    return line > 0 ? "line " + std::to_string(line) + ": " + fault : fault;
}

ImageCheck checkImage(FirmwareImage& image) {
    if (!image.ResetFile()) return damaged({}, 0, "the image cannot be read");
    std::vector<std::string> listLines;
    ImageCheck check = readLines(image, listLines);
    if (!check.sound) return check;
    std::vector<Listed> models;
    for (size_t i = 1; i < listLines.size(); ++i) {
        const ModuleModel* model = modelNamedIn(listLines[i]);
        if (!model)
            return damaged(check, static_cast<int>(i + 1), "the line names no known module");
        models.push_back({model, static_cast<int>(i + 1)});
    }
    for (const auto& listed : models) {
        check = checkSection(image, std::move(check), listed);
        if (!check.sound) return check;
    }
    return check;
}

}  // namespace zel::firmware
