#include "firmware/image_check.h"

#include "firmware/module_models.h"
#include "firmware/sent_lines.h"
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

// Walks what the update sends to the listed model, or from a plain image's first line when
// there is none, refusing any line the boot loader could not take.
ImageCheck checkSent(FirmwareImage& image, ImageCheck check, const Listed* listed) {
    const std::string tag(listed ? listed->model->tag : "");
    const std::string name(listed ? listed->model->name : "");
    const int listLine = listed ? listed->line : 0;
    SentLines sent(image);
    switch (sent.start(tag)) {
        case SentLines::Start::Unreadable:
            return damaged(check, 0, "the image cannot be read again");
        case SentLines::Start::NoLength:
            return damaged(check, listLine, "no section length for " + name);
        case SentLines::Start::NoSection:
            return damaged(check, listLine, "no section for " + name);
        case SentLines::Start::Ready: break;
    }
    const int first = image.lineNumber() + 1;
    SentLines::Read read = sent.next();
    if (read != SentLines::Read::Line || !sent.line().starts_with("S0"))
        return damaged(check, first,
                       listed ? "the section for " + name + " does not start with an S0 record"
                              : std::string("the image does not start with an S0 record"));
    while (read == SentLines::Read::Line) {
        if (sent.line().empty())
            return damaged(check, image.lineNumber(), "a blank line would be sent to the module");
        if (!isSRecord(sent.line()))
            return damaged(check, image.lineNumber(),
                           "the line is not an S-record, yet it would be sent to the module");
        read = sent.next();
        if (read == SentLines::Read::Failed)
            return damaged(check, image.lineNumber() + 1, image.error());
    }
    if (!listed) {
        check.sentWhole = true;
        return check;
    }
    if (read != SentLines::Read::Stop || sent.line().find("END") == std::string::npos)
        return damaged(check, image.lineNumber(),
                       "the section for " + name + " ends without an END line");
    const auto counted = static_cast<int32_t>(sent.counted());
    std::string note;
    if (counted != sent.listedLength())
        note = "line " + std::to_string(listLine) + ": the list gives " +
               std::to_string(sent.listedLength()) + " characters for " + name +
               ", its section holds " + std::to_string(counted) +
               "; only the progress shown is off";
    check.sections.push_back({tag, counted, std::move(note)});
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
    if (image.kind() == ImageKind::Plain) {
        if (!listLines.empty())
            return damaged(check, 1,
                           "a plain image is sent whole from its first line, so it cannot start "
                           "with a list of models");
        return checkSent(image, std::move(check), nullptr);
    }
    if (listLines.empty())
        return damaged(check, 1,
                       "a compressed image is sent by its model's section, so it must start with "
                       "a list of models");
    std::vector<Listed> models;
    for (size_t i = 1; i < listLines.size(); ++i) {
        const ModuleModel* model = modelNamedIn(listLines[i]);
        if (!model)
            return damaged(check, static_cast<int>(i + 1), "the line names no known module");
        models.push_back({model, static_cast<int>(i + 1)});
    }
    for (const auto& listed : models) {
        check = checkSent(image, std::move(check), &listed);
        if (!check.sound) return check;
    }
    return check;
}

const SectionCheck* ImageCheck::section(std::string_view tag) const {
    for (const auto& section : sections)
        if (section.tag == tag) return &section;
    return nullptr;
}

}  // namespace zel::firmware
