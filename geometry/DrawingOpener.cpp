#include "geometry/DrawingOpener.h"

#include "common/Fields.h"
#include "common/TextFile.h"
#include "geometry/AiReader.h"
#include "geometry/CoreAlgorithm.h"
#include "geometry/DisplayPasses.h"
#include "geometry/DxfOutlines.h"
#include "geometry/ImportDxf.h"
#include "geometry/NcReader.h"
#include "geometry/OutlineFiles.h"
#include "geometry/PltReader.h"
#include "geometry/SvgReader.h"

#include <string>
#include <system_error>

namespace korvel::geometry {

namespace {

bool endsWith(const std::string& name, std::string_view ending) {
    return name.size() >= ending.size() &&
           name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}

std::string displayName(const std::filesystem::path& drawing) {
    return drawing.filename().string();
}

void checkDrawingFile(const std::filesystem::path& drawing) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(drawing, ec);
    if (ec) {
        return; // the reader reports the missing or unreadable file
    }
    if (size > kMaxDrawingBytes) {
        const std::string name = displayName(drawing);
        throw common::UserError(common::error("图形文件过大，无法打开：" + name,
                                              "The drawing file is too large to open: " + name));
    }
}

[[noreturn]] void throwNoOutline(const std::string& name) {
    throw common::UserError(common::error("图形中没有可加工的轮廓：" + name,
                                          "No outline found in the drawing: " + name));
}

// A drawing read and cleaned, with what its reader counted.
struct ReadResult {
    CleanDisplay clean;
    int outlines = 0;
    int dropped = 0;
    int open = 0;
    std::vector<SkippedKind> skipped;
    int straightenedArcs = 0;
};

// SVG text and clones (use) are outlines only once the design program
// turns them into paths.
bool skippedTextOrClones(const std::vector<SkippedKind>& skipped) {
    for (const auto& entry : skipped) {
        if (entry.kind == "text" || entry.kind == "use") {
            return true;
        }
    }
    return false;
}

// A DXF is read in one pass: its display lines are thinned and cleaned of
// duplicates as they are made, so the unthinned points are neither held
// whole nor written anywhere.
ReadResult readDxf(const std::filesystem::path& drawing, const OpenOptions& options,
                   const CoreAlgorithm& core) {
    DisplayCleaner cleaner;
    ReadResult result;
    {
        const std::string text = ReadDxfText(drawing);
        DxfDrawingRead read =
            ReadDxfDrawing(text, core.parameters().DensifyPointCount,
                           ContourTolerancesFor(core.parameters(), options.slotAngleThreshold),
                           displayName(drawing), cleaner);
        result.outlines = read.outlines;
        result.dropped = read.droppedOutlines;
        result.open = read.openOutlines;
        result.skipped = std::move(read.skipped);
    } // the drawing's text goes before the cleaned file is put together
    result.clean = cleaner.finish();
    return result;
}

// What a reader that collects its outlines in a DrawingBuilder found, cleaned.
ReadResult fromDisplay(DisplayDrawing display) {
    ReadResult result;
    result.outlines = display.outlineCount;
    result.dropped = display.droppedOutlines;
    result.open = display.openOutlines;
    result.skipped = std::move(display.skipped);
    result.straightenedArcs = display.straightenedArcs;
    if (result.outlines > 0) {
        result.clean = CleanDisplayLines(display.lines);
    }
    return result;
}

ReadResult readDrawing(const std::filesystem::path& drawing, DrawingFormat format,
                       const OpenOptions& options, const CoreAlgorithm& core) {
    checkDrawingFile(drawing);
    const std::string name = displayName(drawing);
    DisplayDrawing display;
    switch (format) {
    case DrawingFormat::Dxf:
        return readDxf(drawing, options, core);
    case DrawingFormat::Nc:
        display =
            ReadNc(common::ReadLines(drawing), {options.planeZ, options.slotAngleThreshold}, name);
        break;
    case DrawingFormat::Plt:
        display = ReadPlt(common::ReadBytes(drawing), {options.slotAngleThreshold}, name);
        break;
    case DrawingFormat::Ai:
        display = ReadAi(common::ReadLines(drawing), {options.slotAngleThreshold}, name);
        break;
    case DrawingFormat::Svg:
        display =
            ReadSvg(common::ReadBytes(drawing),
                    ContourTolerancesFor(core.parameters(), options.slotAngleThreshold), name);
        break;
    case DrawingFormat::Text:
        // A typed word has no file to read again: the operator types it anew.
        throw common::UserError(common::error("文字没有图纸文件，请用“文字…”重新生成：" + name,
                                              "Typed text has no drawing file; make it again "
                                              "with Text…: " +
                                                  name));
    case DrawingFormat::Unknown:
        throw common::UserError(common::error(
            "不支持的文件类型，只能打开 DXF、NC、PLT、AI、SVG 文件：" + name,
            "Unsupported file type; only DXF, NC, PLT, AI and SVG files can be opened: " + name));
    }
    return fromDisplay(std::move(display));
}

// Counts what a reader found; nothing on disk changes here.
std::pair<CleanDisplay, OpenSummary> summarize(ReadResult read, DrawingFormat format,
                                               const std::string& name) {
    if (read.outlines == 0) {
        throwNoOutline(name);
    }
    OpenSummary summary;
    summary.format = format;
    summary.outlines = read.clean.outlines;
    summary.droppedOutlines = read.dropped;
    summary.openOutlines = read.open;
    summary.skipped = std::move(read.skipped);
    summary.straightenedArcs = read.straightenedArcs;
    summary.pointLines = read.clean.pointLines;
    summary.nodes = read.clean.nodes;
    return {std::move(read.clean), summary};
}

// The new drawing is good: the display file is replaced and the selection
// files and the machined record are emptied, all in one step. Every new
// file is complete on the disk before any old one goes, so a full disk
// leaves the previous drawing with its selection.
void commitDrawing(const common::AppDir& app, std::string text) {
    common::FileReplacement replacement;
    replacement.add(app.file(kDisplayFile), std::move(text), app.file(kDisplayRewriteFile));
    for (const auto name : {kControlFile, kPathFile, kMachinedFile}) {
        replacement.add(app.file(name), std::string());
    }
    replacement.commit();
}

// Reads and cleans the drawing in memory; nothing on disk changes here.
std::pair<CleanDisplay, OpenSummary> prepare(const std::filesystem::path& drawing,
                                             DrawingFormat format, const OpenOptions& options,
                                             const CoreAlgorithm& core) {
    return summarize(readDrawing(drawing, format, options, core), format, displayName(drawing));
}

// The drawing is written; `state` names the new drawing and the owner of
// the view is told.
void commit(const common::AppDir& app, const CleanDisplay& clean, const OpenOptions& options,
            DrawingState& state, DrawingState shown) {
    commitDrawing(app, clean.text);
    state = std::move(shown);
    if (options.drawingReplaced) {
        options.drawingReplaced();
    }
}

} // namespace

DrawingFormat DrawingFormatOf(const std::filesystem::path& drawing) {
    const std::string name = common::ToUpper(drawing.filename().string());
    if (endsWith(name, "DXF")) {
        return DrawingFormat::Dxf;
    }
    if (endsWith(name, "NC")) {
        return DrawingFormat::Nc;
    }
    if (endsWith(name, "PLT")) {
        return DrawingFormat::Plt;
    }
    if (endsWith(name, "AI")) {
        return DrawingFormat::Ai;
    }
    if (endsWith(name, "SVG")) {
        return DrawingFormat::Svg;
    }
    return DrawingFormat::Unknown;
}

common::Message OpenSummary::message(const std::filesystem::path& drawing) const {
    return messageFor(displayName(drawing));
}

common::Message OpenSummary::messageFor(const std::string& name) const {
    const std::string count = std::to_string(outlines);
    common::Message m = common::notice("已打开 " + name + "，共 " + count + " 个轮廓",
                                       "Opened " + name + " with " + count + " outlines");
    if (droppedOutlines > 0) {
        const std::string dropped = std::to_string(droppedOutlines);
        m.zh += "；略去 " + dropped + " 个少于两点的轮廓";
        m.en += "; " + dropped + " outlines of fewer than two points were left out";
    }
    if (openOutlines > 0) {
        const std::string open = std::to_string(openOutlines);
        m.zh += "；" + open + " 个轮廓未封闭";
        m.en += "; " + open + " outlines are not closed";
    }
    if (!skipped.empty()) {
        std::string list;
        for (const auto& entry : skipped) {
            list += (list.empty() ? "" : ", ") + std::to_string(entry.count) + " " + entry.kind;
        }
        m.zh += "；未读取：" + list;
        m.en += "; skipped: " + list;
        if (skippedTextOrClones(skipped)) {
            m.zh += "（请在设计软件中把文字和克隆转为路径，或用文字命令输入）";
            m.en += " (convert text and clones to paths in the design program, or type the word "
                    "with the text command)";
        }
    }
    if (straightenedArcs > 0) {
        const std::string arcs = std::to_string(straightenedArcs);
        m.zh += "；" + arcs + " 段半径为 0 的圆弧按直线读入";
        m.en += "; " + arcs + " arcs of radius 0 were read as straight lines";
    }
    return m;
}

OpenSummary OpenDrawing(const common::AppDir& app, const std::filesystem::path& drawing,
                        const OpenOptions& options, CoreAlgorithm& core, DrawingState& state) {
    const DrawingFormat format = DrawingFormatOf(drawing);
    auto [clean, summary] = prepare(drawing, format, options, core);
    commit(app, clean, options, state, {drawing, format, options.planeZ, false});
    return summary;
}

OpenSummary OpenBuiltDrawing(const common::AppDir& app, DisplayDrawing display,
                             DrawingFormat format, const std::string& label,
                             const OpenOptions& options, DrawingState& state) {
    auto [clean, summary] = summarize(fromDisplay(std::move(display)), format, label);
    commit(app, clean, options, state, {label, format, 0.0, false});
    return summary;
}

OpenSummary ReloadDrawing(const common::AppDir& app, const OpenOptions& options,
                          CoreAlgorithm& core, const DrawingState& state) {
    if (!state.open()) {
        throw common::UserError(common::error("尚未打开文件！", "Have no opened file!"));
    }
    OpenOptions reloadOptions = options;
    reloadOptions.planeZ = state.planeZ;
    auto [clean, summary] = prepare(state.drawing, state.format, reloadOptions, core);
    if (state.mirrored) {
        RewriteDisplayFile(app, MirrorDisplayPoints(common::SplitLines(clean.text)));
    } else {
        RewriteDisplayText(app, clean.text);
    }
    if (options.drawingReplaced) {
        options.drawingReplaced();
    }
    return summary;
}

void MirrorDrawing(const common::AppDir& app, DrawingState& state) {
    MirrorDisplayPointsFile(app);
    state.mirrored = !state.mirrored;
}

} // namespace korvel::geometry
